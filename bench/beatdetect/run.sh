#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Beat-detector benchmark: drives bpmDetect.dll and aubio's live tracker sample by sample over the
# real-music corpus (tuning and checking halves) and the synthetic corpus, and prints the goals'
# table for each. Corpora are built once and kept; aubio's results are kept beside them.
#
# Usage: bench/beatdetect/run.sh [build dir] [--details]
#   --details: per kind of source and the misses, for the tuning half and the synthetic corpus.
# Needs: tools/install-deps.sh corpus
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
details=${2:-}
seconds=30
python=/usr/bin/python3
[ -x "$python" ] || python=python3

cmake --build "$build" --target bench_beatdetect pulsivar_bpmdetect -j2 >/dev/null
synthetic=$build/bench-corpus
real=$build/real-corpus
if [ ! -f "$synthetic/truth.csv" ] || [ "$(($(wc -l < "$synthetic/truth.csv") - 1))" -ne 100 ]; then
  rm -rf "$synthetic"
  "$python" "$root/tools/corpus/generate_corpus.py" --out "$synthetic" --per-style 20 --seconds 32
fi
if [ ! -f "$real/truth.csv" ]; then
  "$python" "$root/tools/corpus/build_real_corpus.py" --out "$real" \
    --check "$root/tools/corpus/real_corpus_manifest.csv"
fi

results=$build/bench-results
mkdir -p "$results"
for corpus in "$real" "$synthetic"; do
  name=$(basename "$corpus")
  "$build/bin/bench_beatdetect" "$build/bin/bpmDetect.dll" "$corpus" "$results/$name-ours.csv" "$seconds"
  if [ ! "$results/$name-aubio.csv" -nt "$corpus/truth.csv" ]; then
    "$python" "$here/aubio_live.py" "$corpus" "$results/$name-aubio.csv" "$seconds"
  fi
  echo "## $name"
  echo
  "$python" "$here/score.py" "$corpus" "$seconds" "bpmDetect.dll=$results/$name-ours.csv" \
    "aubio live=$results/$name-aubio.csv" $details
done
