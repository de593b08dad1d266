#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Soak: the program's main window beats at 250 BPM with its clicks going to the PulseAudio null
# sink while it samples a second sink on which a drum loop plays, for MINUTES minutes (default
# 30). Prints the resident memory at the start (after 10 s) and the end, every tick that came
# later than one period plus 5 ms, and the CPU used (all threads, audio included).
# Goals: growth under 1 MB, no late tick, CPU at most 1.5% of a core (0.5% beating alone).
# Usage: bench/soak.sh [MINUTES] [BUILD] [beat]   (BUILD: a RelWithDebInfo build folder, default
# build/; "beat": beating alone, without sampling)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
build=${2:-build}
mode=${3:-}
source_sink=pulsivar_soak

cmake --build "$build" --target fault_soak_harness >/dev/null
started_pulse=""
pactl info >/dev/null 2>&1 || started_pulse=yes
tests/audio/start-pulseaudio.sh >/dev/null

work=$(mktemp -d)
module=$(pactl load-module module-null-sink sink_name=$source_sink sink_properties=device.description=$source_sink)
pactl suspend-sink $source_sink 0 || true
player=""
cleanup() {
  [ -n "$player" ] && kill "$player" 2>/dev/null || true
  pactl unload-module "$module" 2>/dev/null || true
  rm -rf "$work"
  if [ -n "$started_pulse" ]; then pulseaudio --kill 2>/dev/null || true; fi
}
trap cleanup EXIT

# One minute of a 128 BPM drum loop (kick on each beat, hats between), s16le stereo, played over
# and over.
python3 - "$work/loop.raw" <<'PY'
import math, random, struct, sys
rate, bpm, seconds = 44100, 128.0, 60
beat = 60.0 / bpm
random.seed(1)
out = bytearray()
for n in range(rate * seconds):
    t = n / rate
    phase = t % beat
    kick = math.sin(2 * math.pi * (50 + 90 * math.exp(-phase * 30)) * phase) * math.exp(-phase * 12)
    half = (t + beat / 2) % beat
    hat = (random.random() * 2 - 1) * math.exp(-half * 60) * 0.3
    s = int(max(-1.0, min(1.0, 0.7 * kick + hat)) * 20000)
    out += struct.pack('<hh', s, s)
open(sys.argv[1], 'wb').write(out)
PY
( while :; do pacat --playback --raw --device=$source_sink --format=s16le --rate=44100 --channels=2 "$work/loop.raw" || sleep 1; done ) &
player=$!

echo "soak: $minutes min, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=pulseaudio \
  "$build/bin/fault_soak_harness" $((minutes * 60)) $source_sink $mode
