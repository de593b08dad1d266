#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds Pulsivar and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSIVAR_BUILD_TESTS=OFF
cmake --build build --target pulsivar -j"$(nproc)"
exec build/bin/pulsivar "$@"
