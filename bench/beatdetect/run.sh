#!/bin/bash
# Beat-detector benchmark: generates the corpus, drives bpmDetect.dll over it sample by sample,
# runs Debian's tempo estimators on the same tracks, and prints the comparison table.
#
# Usage: bench/beatdetect/run.sh [build dir] [tracks per style] [corpus folder]
# Needs: python3-numpy, fluidsynth, fluid-soundfont-gm, sox, aubio-tools, soundstretch, bpm-tools.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
per_style=${2:-20}
corpus=${3:-$build/bench-corpus}
seconds=30
python=/usr/bin/python3
[ -x "$python" ] || python=python3

cmake --build "$build" --target bench_beatdetect pulsivar_bpmdetect -j2 >/dev/null
if [ ! -f "$corpus/truth.csv" ] || [ "$(($(wc -l < "$corpus/truth.csv") - 1))" -ne $((per_style * 5)) ]; then
  rm -rf "$corpus"
  "$python" "$root/tools/corpus/generate_corpus.py" --out "$corpus" --per-style "$per_style" --seconds 32
fi

results=$(mktemp -d)
"$build/bin/bench_beatdetect" "$build/bin/bpmDetect.dll" "$corpus" "$results/ours.csv" "$seconds"
tail -n +2 "$corpus/truth.csv" | cut -d, -f1 |
  xargs -P 2 -I{} bash "$here/run_peers.sh" "$corpus" {} "$seconds" > "$results/peers.csv"
"$python" "$here/score.py" "$corpus" "$results/ours.csv" "$results/peers.csv" "$seconds"
rm -rf "$results"
