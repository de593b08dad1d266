#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Renders the PNG sizes of the icon from pulsivar.svg (needs rsvg-convert, Debian librsvg2-bin).
# The PNGs are kept in the tree so that building the package needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" pulsivar.svg -o "hicolor/${size}x${size}/apps/pulsivar.png"
done
