#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages Pulsivar needs: "build" to build and run it, "test" for the test suite
# too, "clang" for the sanitizer and fuzz builds, "bench" for profiling the benchmarks (perf) and
# loading the machine while they run, "corpus" for the beat-detector benchmark's corpora
# (the music packages are large: keep them out of CI). Kinds combine: tools/install-deps.sh test clang
set -euo pipefail
kinds=("${@:-build}")

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6network6
                libsdl2-dev libpulse-dev libfftw3-dev libgl-dev
                ableton-link-dev libasio-dev libjack-jackd2-dev libasound2-dev)
# jackd2 (the server, jack_midi_dump), LinkHut and iproute2/util-linux for the private network of
# the Link and MIDI clock tests.
test_packages=(xvfb xauth xdotool pulseaudio pulseaudio-utils sox python3
               jackd2 ableton-link-utils iproute2 util-linux)
clang_packages=(clang-14 libclang-rt-14-dev)
bench_packages=(linux-perf stress-ng)
# Renderers and estimators, then the packages whose music makes the real-music corpus
# (tools/corpus/real_sources.py lists what each holds and its licence).
corpus_packages=(python3 python3-numpy python3-mido python3-aubio libopenmpt0 fluidsynth fluid-soundfont-gm
                 vorbis-tools sox
                 ironseed-data pekka-kana-2-data biniax2-data freedroid-data gl-117-data bomberclone-data
                 rafkill-data pachi-data madbomber-data circuslinux-data tomatoes-data ceferino-data
                 flobopuyo vodovod penguin-command bugsquish vectoroids
                 simutrans-data freedink-data planetblupi-music-midi mma
                 fretsonfire-songs-sectoid fretsonfire-songs-muldjord)

packages=("${build_packages[@]}")
for kind in "${kinds[@]}"; do
  case $kind in
    build) ;;
    test) packages+=("${test_packages[@]}") ;;
    clang) packages+=("${clang_packages[@]}") ;;
    bench) packages+=("${bench_packages[@]}") ;;
    corpus) packages+=("${corpus_packages[@]}") ;;
    *) echo "unknown kind: $kind (build, test, clang, bench, corpus)" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
