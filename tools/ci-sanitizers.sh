#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# CI: builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (clang, the "asan"
# preset, build-asan/) and runs the whole test suite under it; then builds the threaded code and
# its tests with ThreadSanitizer (the "tsan" presets, build-tsan/) and runs those. Any report fails:
# every sanitizer halts on its first finding, and leaks count, except the third-party ones listed
# in tools/sanitizer-suppressions/. Extra arguments go to the ASan ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh test clang

cmake --preset asan >/dev/null
cmake --build build-asan -j"$(nproc)"

supp=$root/tools/sanitizer-suppressions
# exitcode: a report makes the test fail even where a test would otherwise exit 0.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:exitcode=66:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1:detect_odr_violation=2"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:report_error_type=1:suppressions=$supp/ubsan.supp"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0:exitcode=66"

# The audio tests play into and record from a PulseAudio null sink of their own.
started_pulse=""
if ! pactl info >/dev/null 2>&1; then started_pulse=yes; fi
tests/audio/start-pulseaudio.sh
stop_pulse() { if [ -n "$started_pulse" ]; then pulseaudio --kill 2>/dev/null || true; fi; }
trap stop_pulse EXIT

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -E '^audio_test_decks$' "$@"
# The two-deck end-to-end test without its millisecond timing of the kept sync, which the
# sanitizers' slowdown spoils (the plain build checks it).
if [ $# -eq 0 ]; then
  (cd build-asan/tests/audio \
    && PULSIVAR_START_PULSEAUDIO="$root/tests/audio/start-pulseaudio.sh" ../../bin/audio_test_decks \
      twoDecksOnLeftAndRightAreBothFound theClickAloneIsNoMusic musicAndClickAtAnotherTempoGiveTheMusics \
      anotherSourceWhileSamplingIsSampledAtOnce)
fi

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$(nproc)"
export TSAN_OPTIONS="halt_on_error=1:exitcode=66:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
ctest --preset tsan -j"$(nproc)"
