#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# CI, after the test suite: builds the Debian package, installs it on this machine, checks its
# desktop entry, AppStream data and lintian, then starts the installed /usr/bin/pulsivar in a real X
# server as an ordinary user made for the test. That user must get the main window with no
# question box, start the metronome from a typed tempo, and leave through File, Exit with the
# settings in their own configuration folder and nothing written into /usr/lib/pulsivar/.
#   tools/ci-package-test.sh [BUILD_FOLDER]   (default: build; run as root)
set -euo pipefail

program=/usr/bin/pulsivar
folder=/usr/lib/pulsivar
title='Pulsivar v5.0'
user=pulsivar-e2e

fail() { echo "FAIL: $*" >&2; exit 1; }

# ---------------------------------------------------------------------------------------------
# The part that runs as the test user, inside its own X server (the script calls itself).
# ---------------------------------------------------------------------------------------------
if [ "${1:-}" = --as-user ]; then
  work=$(mktemp -d)
  settings=$HOME/.config/Verrowind/Pulsivar.conf

  shot() { import -silent -window "$window" "$work/$1.png"; }
  # How many pixels of the window have exactly this colour.
  pixels_of() { # picture colour
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
      -format '%[fx:round(mean*w*h)]' info:
  }
  differs() { # picture picture
    local changed
    changed=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${changed%% *}" != 0 ]
  }

  # The pointer stays off the window: no hover or tool tip changes the pictures compared below.
  xdotool mousemove 1270 1010
  "$program" & pid=$!
  # Polled: a --sync search quits on the X error of a window that closes while it looks.
  window=$(timeout 30 bash -c 'while :; do
             id=$(xdotool search --onlyvisible --name "$0" 2>/dev/null | head -n 1)
             [ -n "$id" ] && { echo "$id"; exit 0; }; sleep 0.2; done' "$title") || true
  if [ -z "$window" ]; then
    for other in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      echo "visible instead: $(xdotool getwindowname "$other")" >&2
    done
    kill "$pid" 2>/dev/null || true
    fail "the main window did not open"
  fi
  sleep 1
  # A question or warning would be a second visible top-level window.
  for other in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(xdotool getwindowname "$other")
    [ "$name" = "$(xdotool getwindowname "$window")" ] || fail "a window besides the main one: \"$name\""
  done
  echo "the main window opened with no question box"

  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.3
  # The beat colours of beats 1 to 4; the metronome is stopped, so the window shows at most a
  # little of them.
  colours=('rgb(255,0,0)' 'rgb(0,0,255)' 'rgb(0,255,0)' 'rgb(255,255,0)')
  shot before
  declare -A baseline
  for colour in "${colours[@]}"; do baseline[$colour]=$(pixels_of "$work/before.png" "$colour"); done

  # Tab to the first box with a blinking text cursor: the manual tempo box. The cursor blinks
  # every 500 ms, so one of two 300 ms gaps always sees it change.
  found=""
  for _ in $(seq 40); do
    xdotool key Tab
    sleep 0.2
    shot a; sleep 0.3; shot b; sleep 0.3; shot c
    if differs "$work/a.png" "$work/b.png" || differs "$work/b.png" "$work/c.png"; then found=yes; break; fi
  done
  [ -n "$found" ] || fail "no text box took the focus"
  xdotool type --delay 80 128
  xdotool key Return
  # Away from the box, so that only the beat changes the picture.
  xdotool key Tab

  declare -A most
  for colour in "${colours[@]}"; do most[$colour]=0; done
  for i in $(seq 20); do
    shot "beat$i"
    for colour in "${colours[@]}"; do
      count=$(pixels_of "$work/beat$i.png" "$colour")
      if [ "$count" -gt "${most[$colour]}" ]; then most[$colour]=$count; fi
    done
    sleep 0.12
  done
  lit=0
  for colour in "${colours[@]}"; do
    echo "beat colour $colour: ${baseline[$colour]} pixels stopped, up to ${most[$colour]} running"
    if [ $((most[$colour] - baseline[$colour])) -gt 500 ]; then lit=$((lit + 1)); fi
  done
  [ "$lit" -ge 3 ] || fail "the metronome did not beat after typing 128 and Enter"
  echo "the metronome beats at the typed tempo"

  # "File" is the first menu; "&Exit" its only item.
  xdotool mousemove --window "$window" 18 10 click 1
  sleep 0.5
  xdotool key e
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fail "the program did not end after File, Exit"; fi
  wait "$pid" || fail "exit status $?"
  [ -f "$settings" ] || fail "no settings in $settings"
  grep -qF '"LASTPROGVERSION"="5.0.70"' "$settings" || { cat "$settings"; fail "settings incomplete"; }
  echo "File, Exit wrote $settings"
  rm -rf "$work"
  exit 0
fi

# ---------------------------------------------------------------------------------------------
# The part that runs as root on the CI machine.
# ---------------------------------------------------------------------------------------------
root=$(cd "$(dirname "$0")/.." && pwd)
script=$root/tools/$(basename "$0")
[ "$(id -u)" -eq 0 ] || fail "run as root: it installs the package and creates a user"

needed=(dpkg-dev file fakeroot desktop-file-utils appstream lintian xvfb xauth xdotool imagemagick)
missing=()
for package in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

deb=$("$root/tools/package.sh" "${1:-$root/build}" | tail -n 1)
[ -f "$deb" ] || fail "no package built"
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --info "$deb"

# apt-get wants a path that starts with ./ or /; it fetches the Depends the package names.
cd "$(dirname "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$(basename "$deb")"

for file in $folder/pulsivar $folder/fmodex.dll $folder/bpmDetect.dll $folder/MetronomeWave.wav \
            $folder/AccentMetronomeWave.wav $folder/FlashHelp/Pulsivar.htm $program \
            /usr/share/applications/pulsivar.desktop /usr/share/metainfo/com.example.Pulsivar.metainfo.xml \
            /usr/share/icons/hicolor/scalable/apps/pulsivar.svg /usr/share/man/man1/pulsivar.1.gz; do
  [ -e "$file" ] || fail "not installed: $file"
done
desktop-file-validate /usr/share/applications/pulsivar.desktop
appstreamcli validate --no-net /usr/share/metainfo/com.example.Pulsivar.metainfo.xml
echo "desktop entry and AppStream data are valid"

# Errors fail the job; warnings are listed for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "lintian: no errors"

id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.config/Verrowind"
listing() { find "$folder" -printf '%P %y %m %s %T@\n' | sort; }
before=$(listing)

self=$(mktemp --suffix=.sh)
cp "$script" "$self"
chmod 755 "$self"
status=0
runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
  QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$self" --as-user || status=$?
rm -f "$self"
[ "$status" -eq 0 ] || fail "the installed program failed for an ordinary user"

[ "$before" = "$(listing)" ] || { diff <(echo "$before") <(listing) || true; fail "$folder changed"; }
echo "nothing was written into $folder"
echo "package test passed"
