#!/usr/bin/env bash
# Installs the Debian packages Pulsivar needs: "build" to build and run it, "test" for the test suite too.
set -euo pipefail
kind=${1:-build}

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6network6
                libsdl2-dev libfftw3-dev libgl-dev)
test_packages=(xvfb xauth xdotool pulseaudio pulseaudio-utils sox python3)

packages=("${build_packages[@]}")
[ "$kind" = test ] && packages+=("${test_packages[@]}")

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
