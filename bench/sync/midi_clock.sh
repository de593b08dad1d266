#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# MIDI clock through JACK, measured by a real reader: a private JACK server on the dummy driver,
# jack_midi_dump on Pulsivar's MIDI port, and the driver playing runs at 120 and 174 BPM with a
# nudge in each. Prints the pulse interval jitter (RMS and max, against each run's exact pulse
# period; apart from it the intervals next to cycles JACK skipped), the drift of the last beat
# against the beat grid, the Start/Stop placement and the xruns the server logged.
#   bench/sync/midi_clock.sh [--seconds S] [--check] [--build DIR]
# --check exits 1 when a figure is over its limit (0.25 ms RMS, 1 ms max, 1 ms drift).
set -euo pipefail
seconds=300
check=0
build=build
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --check) check=1; shift ;;
    --build) build=$2; shift 2 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done
driver=$build/bin/pulsivar_midi_clock_driver
[ -x "$driver" ] || driver=$build/bench/sync/pulsivar_midi_clock_driver
for tool in jackd jack_midi_dump jack_connect; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (tools/install-deps.sh test)"; exit 77; }
done
work=$(mktemp -d)
export JACK_DEFAULT_SERVER=pulsivar_clock_$$
pids=()
cleanup() {
  [ -n "${PULSIVAR_KEEP_DIR:-}" ] && cp "$work"/* "$PULSIVAR_KEEP_DIR"/
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
rate=48000
# Real-time scheduling where it is allowed (root, an rtprio limit): without it a busy machine makes the
# dummy driver miss cycles, and JACK then skips frames, which no client can place a pulse in.
start_jackd() {
  jackd "$@" -n "$JACK_DEFAULT_SERVER" -d dummy -r $rate -p 1024 >"$work/jackd.log" 2>&1 &
  jackd_pid=$!
  for _ in $(seq 50); do jack_lsp >/dev/null 2>&1 && return 0; kill -0 $jackd_pid 2>/dev/null || return 1; sleep 0.1; done
  return 1
}
if start_jackd -R; then mode=real-time; else kill $jackd_pid 2>/dev/null || true; start_jackd --no-realtime; mode="not real-time"; fi
pids+=($jackd_pid)
echo "JACK server (dummy driver, $rate Hz, 1024 frames) $mode"
jack_midi_dump -a >"$work/dump.txt" 2>"$work/dump.err" &
dump_pid=$!
pids+=($dump_pid)
half=$(awk "BEGIN{print $seconds/2}")
"$driver" "$half" 120 174 --nudge-ms 20 >"$work/driver.txt" 2>"$work/driver.err" &
driver_pid=$!
pids+=($driver_pid)
for _ in $(seq 50); do grep -q ready "$work/driver.txt" 2>/dev/null && break; sleep 0.1; done
for _ in $(seq 50); do jack_connect Pulsivar:clock midi-monitor:input 2>/dev/null && break; sleep 0.1; done
wait $driver_pid
sleep 0.3
# The dump writes its buffer out as it ends.
kill -INT $dump_pid
wait $dump_pid || true
python3 - "$work/dump.txt" "$work/driver.txt" $rate $check "$work/jackd.log" <<'PY'
import re, sys, math
dump, driver, rate, check = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4] == "1"
events = []
for line in open(dump):
    m = re.match(r"\s*(\d+):\s*([0-9a-fA-F]{2})", line)
    if m:
        events.append((int(m.group(1)), int(m.group(2), 16)))
runs = [float(l.split()[1]) for l in open(driver) if l.startswith("run ")]
# Split the dump into runs at each Start; a run ends at the next Start or the Stop.
starts = [i for i, e in enumerate(events) if e[1] == 0xFA]
stops = [i for i, e in enumerate(events) if e[1] == 0xFC]
ok = len(starts) == len(runs) and len(stops) == 1 and stops[0] == len(events) - 1
print(f"events {len(events)}, starts {len(starts)} (runs {len(runs)}), stops {len(stops)}, stop last: {bool(stops) and stops[-1] == len(events) - 1}")
worst_rms = worst_max = worst_drift = 0.0
all_outliers = 0
for n, bpm in enumerate(runs):
    end = starts[n + 1] if n + 1 < len(starts) else (stops[0] if stops else len(events))
    pulses = [f for f, s in events[starts[n] + 1:end] if s == 0xF8]
    start_gap = (pulses[0] - events[starts[n]][0]) / rate * 1000 if pulses else float("nan")
    period = 60.0 / bpm / 24 * rate
    intervals = [b - a for a, b in zip(pulses, pulses[1:])]
    # The nudge lengthens the pulses of one beat on purpose: the jitter leaves that beat out,
    # the drift counts it (every beat after it is 20 ms later by design).
    nudged = [i for i, d in enumerate(intervals) if abs(d - period) > 0.0002 * rate]
    beat_of_nudge = set(range((nudged[0] // 24) * 24, (nudged[0] // 24) * 24 + 24)) if nudged else set()
    errs = [(d - period) / rate * 1000 for i, d in enumerate(intervals) if i not in beat_of_nudge]
    # A cycle JACK skips (an xrun) holds pulses no client can place: they go out at the start of
    # the next cycle. Intervals off by more than 1 ms are counted apart; the rest is the jitter.
    outliers = [e for e in errs if abs(e) > 1.0]
    steady = [e for e in errs if abs(e) <= 1.0]
    rms = math.sqrt(sum(e * e for e in errs) / len(errs)) if errs else float("nan")
    mx = max(abs(e) for e in errs) if errs else float("nan")
    steady_rms = math.sqrt(sum(e * e for e in steady) / len(steady)) if steady else float("nan")
    steady_max = max(abs(e) for e in steady) if steady else float("nan")
    # Every 24th pulse is a beat: against the grid's line through the run's first beat (the
    # nudge adds its 20 ms to every later beat). The last beat's offset is the drift; the largest
    # is a late pulse after a skipped cycle.
    beats = pulses[::24]
    nudge_beat = (nudged[0] // 24 + 1) if nudged else len(beats)
    offsets = []
    for k, f in enumerate(beats):
        expect = pulses[0] + k * period * 24 + (0.020 * rate if k >= nudge_beat else 0)
        offsets.append((f - expect) / rate * 1000)
    drift = abs(offsets[-1]) if offsets else float("nan")
    late = max(abs(o) for o in offsets) if offsets else float("nan")
    print(f"{bpm:g} BPM: {len(pulses)} pulses over {len(beats)} beats; Start {start_gap:.2f} ms before the first pulse; "
          f"interval jitter {rms:.4f} ms RMS, {mx:.4f} ms max; without the {len(outliers)} intervals next to skipped "
          f"JACK cycles {steady_rms:.4f} ms RMS, {steady_max:.4f} ms max; drift of the last beat against the grid "
          f"{drift:.4f} ms after {len(beats) * 60 / bpm:.0f} s (largest beat offset {late:.4f} ms)")
    all_outliers += len(outliers)
    worst_rms, worst_max, worst_drift = max(worst_rms, steady_rms), max(worst_max, steady_max), max(worst_drift, drift)
    ok = ok and len(pulses) > 48
xruns = sum(1 for l in open(sys.argv[5]) if "XRun" in l or "xrun" in l.lower())
print(f"JACK cycles missed (xruns): {xruns}")
print(f"worst (outside skipped cycles): jitter {worst_rms:.4f} ms RMS, {worst_max:.4f} ms max, drift {worst_drift:.4f} ms")
# A skipped cycle disturbs the pulses on either side of it: more disturbed intervals than that are a fault.
ok = ok and all_outliers <= 4 * xruns
if check and not (ok and worst_rms <= 0.25 and worst_max <= 1.0 and worst_drift <= 1.0):
    print("FAIL: over the limits (0.25 ms RMS, 1 ms max, 1 ms drift), Start/Stop misplaced or pulses off without a skipped cycle")
    sys.exit(1)
PY
