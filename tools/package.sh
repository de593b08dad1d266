#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Debian package: tools/package.sh [BUILD_FOLDER]   (default: build)
# Configures the folder if it has never been configured, builds the program, runs
# `cpack -G DEB` there and prints the path of the .deb it made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[[ $build = /* ]] || build=$PWD/$build

if [ ! -f "$build/CMakeCache.txt" ]; then
  # A folder made only for packaging needs no tests.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSIVAR_BUILD_TESTS=OFF
fi
# cpack builds everything the folder was configured to build before it installs; build first so a
# compile error shows as one, not as a packaging failure.
cmake --build "$build" -j"$(nproc)"

cd "$build"
rm -f pulsivar_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls "$build"/pulsivar_*.deb)
echo "$deb"
