# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the X11 test scripts. wait_window NAME prints the id of the first visible window of
# that name once it shows. It polls rather than using `xdotool search --sync`: xdotool quits on the
# X error it gets when a window closes while it looks at it (a menu, a box going away), and a quit
# search would read as "no window". Callers bound the wait with timeout, e.g.
#   window=$(timeout 30 bash -c "$(declare -f wait_window); wait_window 'Pulsivar v5.0'")
wait_window() { # name -> window id
  local id
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
}
