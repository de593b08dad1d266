#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds everything and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSIVAR_BUILD_TESTS=ON -DPULSIVAR_SPECIAL_TESTS=ON
cmake --build build -j"$(nproc)"

# The audio tests play into and record from a PulseAudio null sink of their own.
started_pulse=""
if [ -x tests/audio/start-pulseaudio.sh ]; then
  if ! pactl info >/dev/null 2>&1; then started_pulse=yes; fi
  tests/audio/start-pulseaudio.sh
fi
stop_pulse() { if [ -n "$started_pulse" ]; then pulseaudio --kill 2>/dev/null || true; fi; }
trap stop_pulse EXIT

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
