#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# How the real program ends when nobody chooses File, Exit: SIGTERM, SIGINT and SIGHUP, and an X
# display that goes away, each save the settings and end the process within 2 s; and a second start
# hands over to the running one. Run inside an X server: process_life.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
config=$(mktemp -d)
extra_display_pid=
cleanup() {
  [ -z "$extra_display_pid" ] || kill "$extra_display_pid" 2>/dev/null || true
  rm -rf "$config"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config
settings=$config/Verrowind/Pulsivar.conf

fail() { echo "FAIL: $*"; exit 1; }

# shellcheck source=../support/wait_window.sh
source "$(dirname "$0")/../support/wait_window.sh"

start_program() { # -> pid in $pid, once its window shows
  "$program" & pid=$!
  local window
  window=$(timeout 30 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'") || true
  [ -n "$window" ] || { kill -9 $pid; fail "no main window"; }
}

# Within 2 s of the event; a full save writes every setting, the last of them among them.
expect_saved_and_gone() { # what pid
  for _ in $(seq 20); do kill -0 "$2" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$2" 2>/dev/null; then kill -9 "$2"; fail "$1: still running 2 s later"; fi
  wait "$2" || true
  [ -f "$settings" ] || fail "$1: settings not saved"
  grep -qF '"AutoBPMInputTimeout"="6"' "$settings" || fail "$1: settings saved only in part"
  echo "$1: saved and ended"
}

for signal in TERM INT HUP; do
  start_program
  rm -f "$settings"
  kill -s $signal $pid
  expect_saved_and_gone "SIG$signal" $pid
done

# A display of its own, taken away under the running program.
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$config/display" 2>/dev/null &
extra_display_pid=$!
for _ in $(seq 50); do [ -s "$config/display" ] && break; sleep 0.1; done
[ -s "$config/display" ] || fail "no display of its own"
(
  export DISPLAY=:$(head -n 1 "$config/display")
  start_program
  rm -f "$settings"
  kill $extra_display_pid
  expect_saved_and_gone "display lost" $pid
)

# A second start while one runs: it hands over to the running one and leaves at once, and only the
# running one goes on (and saves at its end).
start_program
first=$pid
"$program" & second=$!
for _ in $(seq 50); do kill -0 $second 2>/dev/null || break; sleep 0.1; done
if kill -0 $second 2>/dev/null; then kill -9 $second $first; fail "the second start did not leave"; fi
wait $second || fail "the second start ended with status $?"
kill -0 $first 2>/dev/null || fail "the running one ended with the second start"
[ "$(xdotool search --onlyvisible --name 'Pulsivar v5.0' | wc -l)" -eq 1 ] || { kill -9 $first; fail "two main windows"; }
echo "second start: handed over to the running one"

# The running one is killed outright: the lock it leaves does not keep the next start out.
kill -9 $first
wait $first 2>/dev/null || true
[ -e "$config/Verrowind/Pulsivar.lock" ] || fail "no lock was left to try the next start with"
start_program
rm -f "$settings"
kill -TERM $pid
expect_saved_and_gone "start after a stale lock" $pid
