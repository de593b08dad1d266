#!/bin/bash
# Runs the tempo estimators Debian ships on one corpus track (first 30 s), one CSV row:
# name,aubio_bpm,soundstretch_bpm,bpmtools_bpm,aubio_beats
set -u
corpus=$1 name=$2 seconds=$3
tmp=$(mktemp --suffix=.wav)
trap 'rm -f "$tmp"' EXIT
sox "$corpus/$name.wav" "$tmp" trim 0 "$seconds" 2>/dev/null
aubio_bpm=$(aubio tempo "$tmp" 2>/dev/null | awk '/bpm/ {print $1}' | tail -1)
aubio_beats=$(aubio beat "$tmp" 2>/dev/null | awk 'NF == 1 {printf "%s ", $1}')
st_bpm=$(soundstretch "$tmp" -bpm 2>&1 | awk '/Detected BPM rate/ {print $4}' | tail -1)
bt_bpm=$(sox "$tmp" -t raw -r 44100 -e float -c 1 - 2>/dev/null | bpm 2>/dev/null | tail -1)
echo "$name,${aubio_bpm:-0},${st_bpm:-0},${bt_bpm:-0},$aubio_beats"
