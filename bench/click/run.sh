#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Records the metronome's clicks through the PulseAudio null sink at several tempos and loads and
# prints how evenly they land, with the click-timing harness (../shared/tools/click-timing).
#   bench/click/run.sh BUILD [BEATS]
# Conditions: idle; GUI thread busy (30 ms stalls every 103 ms); GUI stalled 300 ms every 2 s;
# the machine loaded (stress-ng: two CPU hogs a core, memory and disk churn, as a build next to
# the program would); and a nudge run (70 ms ahead, then behind, at a third of a beat).
set -euo pipefail
build=${1:?usage: run.sh BUILD [BEATS]}
beats=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
tools=${CLICK_TIMING:-$here/../../../shared/tools/click-timing}
bench=$build/bin/click_bench
export PULSE_SINK=pulsivar_null
out=$(mktemp -d)
# A PulseAudio server of its own (the harness starts it in this runtime folder), so no other
# program's sound lands in the recording.
export XDG_RUNTIME_DIR=$out/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'pulseaudio --kill 2>/dev/null; rm -rf "$out"; [ -n "${hog:-}" ] && kill "$hog" 2>/dev/null || true' EXIT

summary() { # json bpm condition
  python3 - "$1" "$2" "$3" <<'PY'
import json, sys
d = json.load(open(sys.argv[1])); bpm = float(sys.argv[2])
dev = d.get("interval_dev_ms") or {}
fitted = d.get("fitted_interval_ms") or 0
tempo = 60000.0 / fitted if fitted else float("nan")
print(f"| {bpm:g} | {sys.argv[3]} | {d.get('clicks', 0)} | {d.get('missing', '-')} | {d.get('extra', '-')} "
      f"| {dev.get('p99', float('nan')):.3f} | {dev.get('max', float('nan')):.3f} | {tempo:.4f} | {tempo - bpm:+.4f} |")
PY
}

run() { # bpm condition extra-args...
  local bpm=$1 condition=$2; shift 2
  local interval seconds
  interval=$(python3 -c "print(60000.0 / $bpm)")
  # Room for a slow start on a loaded machine: clicks cut off at the end would count as missing.
  seconds=$(python3 -c "print(round($beats * $interval / 1000 + 10, 1))")
  "$tools/bench.sh" -w 3 -s "$seconds" -n "$beats" -o "$out/rec.wav" "$interval" --json -v -- "$bench" "$bpm" "$beats" "$@" \
    > "$out/result.json" 2> "$out/log.txt" || true
  summary "$out/result.json" "$bpm" "$condition"
}

echo "| BPM | condition | clicks | missing | extra | p99 interval dev (ms) | max (ms) | fitted tempo | error (BPM) |"
echo "|---|---|---|---|---|---|---|---|---|"
for bpm in 120 127.99 250; do run "$bpm" idle; done
for bpm in 120 127.99 250; do run "$bpm" "GUI busy" --busy; done
for bpm in 120 127.99 250; do run "$bpm" "GUI stalls 300 ms" --stall 300; done
if command -v stress-ng >/dev/null; then
  stress-ng --cpu "$(( 2 * $(nproc) ))" --vm 1 --vm-bytes 512M --hdd 1 --hdd-bytes 64M --timeout 900s >/dev/null 2>&1 &
  hog=$!
  sleep 3
  for bpm in 120 127.99 250; do run "$bpm" "machine loaded" --busy; done
  kill "$hog" 2>/dev/null || true; wait "$hog" 2>/dev/null || true; hog=""
else
  echo "(stress-ng is missing: tools/install-deps.sh bench)"
fi

# The nudge run: every interval that is not the period should be the period -+ 70 ms.
bpm=120
"$tools/bench.sh" -w 3 -s "$(( beats / 2 + 12 ))" -n "$beats" -o "$out/rec.wav" 500 --json -v -- "$bench" "$bpm" "$beats" --nudge 70 \
  > "$out/nudge.json" 2> "$out/log.txt" || true
python3 - "$out/nudge.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
intervals = [c["interval_ms"] for c in d["per_click"] if c["interval_ms"] is not None]
shifted = [i - 500.0 for i in intervals if abs(i - 500.0) > 1.0]
steady = [abs(i - 500.0) for i in intervals if abs(i - 500.0) <= 1.0]
errors = [abs(abs(s) - 70.0) for s in shifted]
print(f"\nnudge run at 120 BPM, 70 ms: {d['clicks']} clicks, {len(shifted)} nudged intervals "
      f"({', '.join(f'{s:+.2f}' for s in shifted)} ms); largest error of a nudge {max(errors, default=0):.3f} ms; "
      f"other intervals within {max(steady, default=0):.3f} ms of the period")
PY
