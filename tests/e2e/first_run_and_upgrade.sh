#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Starts the real program with an empty settings folder, leaves through File, Exit, and checks what
# it wrote; then starts it again after a pretend upgrade and answers the upgrade notice.
set -euo pipefail
program=$1
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config
settings=$config/Verrowind/Pulsivar.conf

fail() { echo "FAIL: $*"; [ -f "$settings" ] && cat "$settings"; exit 1; }

# shellcheck source=../support/wait_window.sh
source "$(dirname "$0")/../support/wait_window.sh"

exit_through_menu() { # window id
  local window=$1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  # "File" is the first menu; "&Exit" its only item.
  xdotool mousemove --window "$window" 18 10 click 1
  sleep 0.5
  xdotool key e
}

wait_exit() { # pid
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  kill "$1"; fail "the program did not end after File, Exit"
}

"$program" & pid=$!
window=$(timeout 30 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'") || fail "no main window"
[ -n "$window" ] || fail "no main window"
exit_through_menu "$window"
wait_exit $pid
wait $pid || fail "exit status $?"

[ -f "$settings" ] || fail "no settings file written"
for line in '"ProgramSkin"="101"' '"BeatColor1"="255"' '"BeatColor2"="16711680"' '"BeatColor3"="65280"' \
            '"BeatColor4"="65535"' '"BeatColor5"="16711935"' '"BeatColor6"="33023"' '"BeatColor7"="12632256"' \
            '"BeatsPerMeasure"="4"' '"AccentBeatConfig"="10000"' '"LASTPROGVERSION"="5.0.70"' \
            '"MSNUDGEVALUE"="70"' '"PlayBeatSound"="True"' '"AutoBPMColor"="255"' '"AutoBPMInputTimeout"="6"'; do
  grep -qF "$line" "$settings" || fail "missing $line"
done
echo "first run: settings written with every default"

sed -i 's/"LASTPROGVERSION"="5.0.70"/"LASTPROGVERSION"="5.0.69"/' "$settings"
"$program" & pid=$!
notice=$(timeout 30 bash -c "$(declare -f wait_window); wait_window 'Pulsivar Program Upgraded'") || fail "no upgrade notice"
[ -n "$notice" ] || fail "no upgrade notice"
xdotool windowfocus --sync "$notice" 2>/dev/null || true
sleep 0.3; xdotool key Return
window=$(timeout 30 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'") || fail "no main window after the notice"
grep -qF '"LASTPROGVERSION"="5.0.70"' "$settings" || fail "version not stored right after the notice"
exit_through_menu "$window"
wait_exit $pid
echo "second run: upgrade notice shown and answered"
