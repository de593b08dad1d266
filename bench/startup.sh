#!/usr/bin/env bash
# Prints the time from starting Pulsivar to its main window being shown, and its resident memory
# then, over several runs in a private X server.  bench/startup.sh [PROGRAM] [RUNS]
set -euo pipefail
program=${1:-build/bin/pulsivar}
runs=${2:-5}
if [ -z "${PULSIVAR_IN_XVFB:-}" ]; then
  PULSIVAR_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$runs"
fi
config=$(mktemp -d); trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb
for run in $(seq "$runs"); do
  start=$(date +%s.%N)
  "$program" 2>/dev/null & pid=$!
  # Polled every 5 ms: xdotool's own --sync waits in half-second steps.
  until xdotool search --onlyvisible --name 'Pulsivar v5.0' >/dev/null 2>&1; do
    kill -0 $pid 2>/dev/null || { echo "the program ended before showing its window"; exit 1; }
    sleep 0.005
  done
  shown=$(date +%s.%N)
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  kill $pid; wait $pid 2>/dev/null || true
  printf 'run %d: shown after %.0f ms, resident %s KiB\n' "$run" "$(echo "($shown - $start) * 1000" | bc -l)" "$rss"
done
