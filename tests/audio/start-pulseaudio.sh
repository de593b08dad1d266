#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# start-pulseaudio.sh [SINK]
#
# Makes sure a PulseAudio server answers and has a null sink named SINK (default
# pulsivar_null, or $PULSIVAR_SINK), made the default sink and kept awake, so audio
# tests can play into it and record its monitor source SINK.monitor.
#
# Idempotent: a running server is reused and a present sink is kept; only what is
# missing is started or loaded. Prints one line for each thing it did. A server it
# starts keeps running (stop it with: pulseaudio -k).
#
# Exit status: 0 ready, 2 PulseAudio is not available here (tests may skip on it).
set -eu

sink=${1:-${PULSIVAR_SINK:-pulsivar_null}}
say() { echo "start-pulseaudio: $*"; }

for tool in pactl pulseaudio; do
    command -v "$tool" >/dev/null 2>&1 || {
        say "$tool not found (apt-get install pulseaudio pulseaudio-utils)" >&2; exit 2; }
done

wait_for_server() {
    i=0
    until pactl info >/dev/null 2>&1; do
        i=$((i + 1))
        [ $i -le 50 ] || return 1
        sleep 0.1
    done
}

if pactl info >/dev/null 2>&1; then
    say "PulseAudio server already running"
else
    say "starting PulseAudio with null sink $sink"
    # As root the daemon warns that it is not meant for root and runs on; --system=false
    # keeps it a per-user server that pactl and the clients find the ordinary way.
    pulseaudio -D --system=false --exit-idle-time=-1 -n \
        --load="module-null-sink sink_name=$sink" \
        --load="module-native-protocol-unix" \
        --log-target=stderr 2>/dev/null || true
    if ! wait_for_server; then
        say "PulseAudio did not come up" >&2
        exit 2
    fi
fi

if pactl list short sinks | awk -v s="$sink" '$2 == s { f = 1 } END { exit !f }'; then
    say "null sink $sink present"
else
    say "loading module-null-sink sink_name=$sink"
    # Every null sink is described "Null Output"; a private one gets its own name, so that
    # "Monitor of Null Output" keeps meaning the shared sink.
    if [ "$sink" = pulsivar_null ]; then
        pactl load-module module-null-sink "sink_name=$sink" >/dev/null
    else
        pactl load-module module-null-sink "sink_name=$sink" "sink_properties=device.description=$sink" >/dev/null
    fi
fi

# Set even when it already is the default: a default the server only picked by itself moves
# to whichever sink a test loads next.
if [ "$(pactl get-default-sink 2>/dev/null || true)" != "$sink" ]; then
    say "making $sink the default sink"
fi
pactl set-default-sink "$sink"
# A suspended sink renders nothing, so its monitor would deliver nothing either.
pactl suspend-sink "$sink" 0 2>/dev/null || true
say "ready: play into $sink, record from $sink.monitor"
