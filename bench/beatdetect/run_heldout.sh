#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Held-out check of bpmDetect.dll alone: the five benchmark styles with another seed, and the
# further styles the benchmark never uses, so that a change tuned on the benchmark corpus shows
# whether it carries over.
#
# Usage: bench/beatdetect/run_heldout.sh [build dir] [tracks per style] [corpus parent folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
per_style=${2:-12}
parent=${3:-$build}
seconds=30
python=/usr/bin/python3
[ -x "$python" ] || python=python3

cmake --build "$build" --target bench_beatdetect pulsivar_bpmdetect -j2 >/dev/null
results=$(mktemp -d)
for set in "seed2:2:four_on_floor,broken,swing,sparse,tonal" "extra3:3:halftime,one_drop,hiphop,waltz,chiptune"; do
  IFS=: read -r name seed styles <<< "$set"
  corpus=$parent/bench-corpus-$name
  if [ ! -f "$corpus/truth.csv" ] || [ "$(($(wc -l < "$corpus/truth.csv") - 1))" -ne $((per_style * 5)) ]; then
    rm -rf "$corpus"
    "$python" "$root/tools/corpus/generate_corpus.py" --out "$corpus" --per-style "$per_style" \
      --seconds 32 --seed "$seed" --styles "$styles"
  fi
  echo "## $name ($styles)"
  "$build/bin/bench_beatdetect" "$build/bin/bpmDetect.dll" "$corpus" "$results/ours.csv" "$seconds"
  "$python" "$here/score.py" "$corpus" "$seconds" "bpmDetect.dll=$results/ours.csv" --details
done
rm -rf "$results"
