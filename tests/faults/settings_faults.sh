#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The real program against a broken settings store: a read-only folder, a full disk, a settings
# file that is a folder, garbage, random bytes; and -geometry beyond the screen. Each time the
# program must start, show its window, answer File, Exit and end with status 0, telling the user
# once what went wrong; then the store is checked. Run inside an X server
# (xvfb-run -s "-screen 0 1280x1024x24"): settings_faults.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
config=$(mktemp -d)
trap 'chmod -R u+w "$config" 2>/dev/null; rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config
folder=$config/Verrowind
settings=$folder/Pulsivar.conf

fail() { echo "FAIL: $*"; exit 1; }

kill_tree() { # pid
  local child
  for child in $(pgrep -P "$1" || true); do kill_tree "$child"; done
  kill -9 "$1" 2>/dev/null || true
}

# shellcheck source=../support/wait_window.sh
source "$(dirname "$0")/../support/wait_window.sh"

answer_box() { # what title pid: presses the default button of the box with that title
  local box
  box=$(timeout 30 bash -c "$(declare -f wait_window); wait_window '$2'") || true
  [ -n "$box" ] || { kill_tree "$3"; fail "$1: no box '$2'"; }
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  sleep 0.3
  xdotool key Return
}

exit_through_menu() { # window id
  local window=$1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  # "File" is the first menu; "&Exit" its only item.
  xdotool mousemove --window "$window" 18 10 click 1
  sleep 0.5
  xdotool key e
}

wait_exit() { # what pid
  for _ in $(seq 150); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
  kill_tree "$2"; fail "$1: the program did not end after File, Exit"
}

# Starts the program (through the given launcher words first, if any) with $ARGS, answers the
# box titled $START_BOX before its window and $EXIT_BOX after File, Exit, checks that the window
# is on the screen with $ON_SCREEN set, and that the program ended by itself with status 0. A
# box more than expected blocks the exit and fails the run.
run_once() { # what launcher...
  local what=$1; shift
  "$@" "$program" ${ARGS:-} & local pid=$!
  [ -z "${START_BOX:-}" ] || answer_box "$what" "$START_BOX" $pid
  local window
  window=$(timeout 60 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'") || true
  [ -n "$window" ] || { kill_tree $pid; fail "$what: no main window"; }
  if [ -n "${ON_SCREEN:-}" ]; then
    sleep 0.5
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 1024 ] ||
      { kill_tree $pid; fail "$what: window at $X,$Y sized ${WIDTH}x$HEIGHT is not on the screen"; }
  fi
  exit_through_menu "$window"
  [ -z "${EXIT_BOX:-}" ] || answer_box "$what" "$EXIT_BOX" $pid
  wait_exit "$what" $pid
  local status=0
  wait $pid || status=$?
  [ $status -eq 0 ] || fail "$what: exit status $status"
}

fresh_folder() { rm -rf "$folder"; mkdir -p "$folder"; }

# Root mounts in a mount namespace of its own; anyone else needs a user namespace for that.
namespace=()
if unshare -m true 2>/dev/null; then namespace=(unshare -m)
elif unshare -rm true 2>/dev/null; then namespace=(unshare -rm)
fi

# 1. A read-only settings folder holding a valid file: the stored values are read, nothing can be
# written, the file stays as it was, and the user hears so once, at exit. Root writes through
# permission bits, so the folder is made a read-only mount.
if [ ${#namespace[@]} -gt 0 ]; then
  fresh_folder
  printf '[SOFTWARE\\Verrowind\\Pulsivar]\n"BeatsPerMeasure"="3"\n"LASTPROGVERSION"="5.0.70"\n' >"$settings"
  before=$(sha256sum "$settings")
  EXIT_BOX="Settings Not Saved" run_once "read-only folder" "${namespace[@]}" sh -c \
    'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"' "$folder"
  [ "$(sha256sum "$settings")" = "$before" ] || fail "read-only folder: the settings file changed"
  [ -z "$(ls -A "$folder" | grep -v '^Pulsivar.conf$' || true)" ] || fail "read-only folder: files appeared"
  echo "read-only settings folder: started, ran and ended; file untouched; told once at exit"

  # 2. A full disk: a 64 KiB tmpfs on the settings folder, filled up. The upgrade notice's write at
  # start fails, and so does the save at exit; the old file stays whole and the user hears it
  # once, at exit. The tmpfs lives only in the namespace, so the checks are made in there.
  fresh_folder
  START_BOX="Pulsivar Program Upgraded" EXIT_BOX="Settings Not Saved" run_once "full disk" \
    "${namespace[@]}" sh -c '
      mount -t tmpfs -o size=64k tmpfs "$0" || exit 90
      printf "[SOFTWARE\\\\Verrowind\\\\Pulsivar]\n\"BeatsPerMeasure\"=\"3\"\n\"LASTPROGVERSION\"=\"5.0.69\"\n" >"$0/Pulsivar.conf"
      sha256sum "$0/Pulsivar.conf" >"$1.before"
      head -c 1M /dev/zero >"$0/filler" 2>/dev/null
      "$2"; status=$?
      sha256sum "$0/Pulsivar.conf" >"$1.after"; ls -A "$0" >"$1.files"
      exit $status' "$folder" "$config/full"
  cmp -s "$config/full.before" "$config/full.after" || fail "full disk: the settings file changed"
  [ "$(cat "$config/full.files")" = "$(printf 'Pulsivar.conf\nfiller')" ] || fail "full disk: files left behind"
  echo "full disk: the old settings file survived the failed saves; told once at exit"
else
  echo "SKIP read-only folder and full disk: unshare -m is not permitted here"
fi

# 3. The settings file is a folder: defaults, the user told at start, and the folder stays.
rm -rf "$folder"; mkdir -p "$settings"
touch "$settings/inside"
START_BOX="Settings Not Read" run_once "settings file is a folder"
[ -d "$settings" ] && [ -f "$settings/inside" ] || fail "settings file is a folder: the folder was harmed"
echo "settings file is a folder: started with defaults, told once, ran and ended"

# 4. Garbage text and 10 MB of random bytes: defaults, the user told at start, the file kept.
fresh_folder
printf '[SOFTWARE\\Verrowind\\Pulsivar\n"BeatsPerMeasure"=4\n"MSNUDGEVALUE"="\\q"\n\x00\x01\xff]]]["=\n' >"$settings"
head -c $((10 * 1024 * 1024)) /dev/urandom >"$config/random"
for kind in garbage random; do
  [ $kind = random ] && cp "$config/random" "$settings"
  before=$(sha256sum "$settings")
  START_BOX="Settings Not Read" run_once "$kind settings"
  [ "$(sha256sum "$settings")" = "$before" ] || fail "$kind settings: the file was written over"
  echo "$kind settings file: started with defaults, told once, file kept"
done

# 5. -geometry far beyond the screen: the window is placed and sized on it.
fresh_folder
ON_SCREEN=1 ARGS="-geometry 40000x40000+50000+50000" run_once "-geometry beyond the screen"
echo "-geometry beyond the screen: the window is on the screen"
