#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Prints the time from starting Pulsivar to its main window being shown, its resident memory then,
# and, with a settings file, the time File, Exit takes to save it and end; several runs in a
# private X server. SETTINGS_MB > 0 starts every run from a settings file of about that many
# megabytes (thousands of values in many keys besides the program's own). The program's messages
# go to $PULSIVAR_BENCH_LOG when that is set.
#   bench/startup.sh [PROGRAM] [RUNS] [SETTINGS_MB]
set -euo pipefail
program=${1:-build/bin/pulsivar}
runs=${2:-5}
settings_mb=${3:-0}
if [ -z "${PULSIVAR_IN_XVFB:-}" ]; then
  PULSIVAR_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$runs" "$settings_mb"
fi
config=$(mktemp -d); trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
settings=$config/Verrowind/Pulsivar.conf
mkdir -p "$config/Verrowind"
if [ "$settings_mb" != 0 ]; then
  python3 - "$config/pristine.conf" "$settings_mb" <<'EOF'
import sys
path, megabytes = sys.argv[1], float(sys.argv[2])
limit = int(megabytes * 1000 * 1000)
with open(path, "w", newline="\n") as out:
    out.write('[SOFTWARE\\Verrowind\\Pulsivar]\n"LASTPROGVERSION"="5.0.70"\n"BeatsPerMeasure"="3"\n')
    size, n = out.tell(), 0
    while size < limit - 200:
        if n % 1000 == 0:
            size += out.write('\n[SOFTWARE\\Verrowind\\Pulsivar\\Extra%d]\n' % (n // 1000))
        size += out.write('"Value%07d"="%s"\n' % (n, "x" * 40))
        n += 1
    print("settings file: %d bytes, %d values" % (size, n + 2))
EOF
fi

ms_since() { echo "($(date +%s.%N) - $1) * 1000" | bc -l | xargs printf '%.0f'; }

for run in $(seq "$runs"); do
  [ "$settings_mb" != 0 ] && cp "$config/pristine.conf" "$settings"
  start=$(date +%s.%N)
  "$program" 2>>"${PULSIVAR_BENCH_LOG:-/dev/null}" & pid=$!
  # Polled every 5 ms: xdotool's own --sync waits in half-second steps.
  until window=$(xdotool search --onlyvisible --name 'Pulsivar v5.0' 2>/dev/null | head -n 1) && [ -n "$window" ]; do
    kill -0 $pid 2>/dev/null || { echo "the program ended before showing its window"; exit 1; }
    sleep 0.005
  done
  shown=$(ms_since "$start")
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  # File, Exit: "File" is the first menu, "&Exit" its only item.
  xdotool mousemove --window "$window" 18 10 click 1; sleep 0.3
  exiting=$(date +%s.%N)
  xdotool key e
  while kill -0 $pid 2>/dev/null; do sleep 0.005; done
  wait $pid 2>/dev/null || true
  printf 'run %d: shown after %s ms, resident %s KiB, File, Exit took %s ms\n' \
    "$run" "$shown" "$rss" "$(ms_since "$exiting")"
done
