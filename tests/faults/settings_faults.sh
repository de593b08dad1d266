#!/usr/bin/env bash
# The real program against a broken settings store: a read-only settings folder, a settings
# file that is a folder, a file of garbage text and one of 10 MB of random bytes. Each time the
# program must start, show its window, answer File, Exit and end with status 0; then the store is
# checked. Run inside an X server (xvfb-run): settings_faults.sh PROGRAM
set -euo pipefail
program=$1
config=$(mktemp -d)
trap 'chmod -R u+w "$config" 2>/dev/null; rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config
folder=$config/Verrowind
settings=$folder/Pulsivar.conf

fail() { echo "FAIL: $*"; exit 1; }

wait_window() { # name -> window id
  xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

exit_through_menu() { # window id
  local window=$1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  # "File" is the first menu; "&Exit" its only item.
  xdotool mousemove --window "$window" 18 10 click 1
  sleep 0.5
  xdotool key e
}

wait_exit() { # pid
  for _ in $(seq 150); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$1"; fail "the program did not end after File, Exit"
}

# Starts the program (through the given launcher words first, if any), leaves through the menu
# and checks that it ended by itself with status 0.
run_once() { # what launcher...
  local what=$1; shift
  "$@" "$program" & local pid=$!
  local window
  window=$(timeout 60 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'") || true
  if [ -z "$window" ]; then
    kill -9 $pid 2>/dev/null || true
    fail "$what: no main window"
  fi
  exit_through_menu "$window"
  wait_exit $pid
  local status=0
  wait $pid || status=$?
  [ $status -eq 0 ] || fail "$what: exit status $status"
}

has_defaults() {
  for line in '"BeatsPerMeasure"="4"' '"MSNUDGEVALUE"="70"' '"ProgramSkin"="101"' '"LASTPROGVERSION"="5.0.70"'; do
    grep -qF "$line" "$settings" || return 1
  done
}

# 1. A read-only settings folder holding a valid file: the stored values are read, nothing can be
# written, and the file stays as it was. Root writes through permission bits, so the folder is
# made a read-only mount in a mount namespace of the program's own.
mkdir -p "$folder"
printf '[SOFTWARE\\Verrowind\\Pulsivar]\n"BeatsPerMeasure"="3"\n"LASTPROGVERSION"="5.0.70"\n' >"$settings"
before=$(sha256sum "$settings")
readonly_launcher=(unshare -m)
[ "$(id -u)" -eq 0 ] || readonly_launcher=(unshare -rm)
run_once "read-only folder" "${readonly_launcher[@]}" sh -c \
  'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"' "$folder"
[ "$(sha256sum "$settings")" = "$before" ] || fail "read-only folder: the settings file changed"
[ -z "$(ls -A "$folder" | grep -v '^Pulsivar.conf$' || true)" ] || fail "read-only folder: files appeared"
echo "read-only settings folder: started, ran and ended; file untouched"

# 2. The settings file is a folder: defaults, and the folder stays.
rm -rf "$folder"; mkdir -p "$settings"
touch "$settings/inside"
run_once "settings file is a folder"
[ -d "$settings" ] && [ -f "$settings/inside" ] || fail "settings file is a folder: the folder was harmed"
echo "settings file is a folder: started with defaults, ran and ended"

# 3. Garbage text: read as defaults, replaced by a whole settings file at exit.
rm -rf "$folder"; mkdir -p "$folder"
printf '[SOFTWARE\\Verrowind\\Pulsivar\n"BeatsPerMeasure"=4\n"MSNUDGEVALUE"="\\q"\n\x00\x01\xff]]]["=\n' >"$settings"
run_once "garbage settings"
has_defaults || { cat "$settings"; fail "garbage settings: no whole file of defaults written at exit"; }
echo "garbage settings file: started with defaults, ran, ended and wrote a whole file"

# 4. 10 MB of random bytes.
rm -rf "$folder"; mkdir -p "$folder"
head -c $((10 * 1024 * 1024)) /dev/urandom >"$settings"
run_once "10 MB of random bytes"
has_defaults || fail "random settings: no whole file of defaults written at exit"
echo "10 MB random settings file: started with defaults, ran, ended and wrote a whole file"
