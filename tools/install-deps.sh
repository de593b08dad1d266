#!/usr/bin/env bash
# Installs the Debian packages Pulsivar needs: "build" to build and run it, "test" for the test suite
# too, "clang" for the sanitizer and fuzz builds. Kinds combine: tools/install-deps.sh test clang
set -euo pipefail
kinds=("${@:-build}")

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6network6
                libsdl2-dev libfftw3-dev libgl-dev)
test_packages=(xvfb xauth xdotool pulseaudio pulseaudio-utils sox python3)
clang_packages=(clang-14 libclang-rt-14-dev)

packages=("${build_packages[@]}")
for kind in "${kinds[@]}"; do
  case $kind in
    build) ;;
    test) packages+=("${test_packages[@]}") ;;
    clang) packages+=("${clang_packages[@]}") ;;
    *) echo "unknown kind: $kind (build, test, clang)" >&2; exit 2 ;;
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
