#!/usr/bin/env bash
# Installs the Debian packages the game needs (only those missing), then configures and
# builds it. The build also runs our asset generator, which fills run/ with the level.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  build-essential cmake pkg-config git
  libglfw3-dev libglew-dev libdevil-dev libopenal-dev libtinyxml-dev libglm-dev
  libtomlplusplus-dev
  libgtest-dev libbenchmark-dev libstb-dev libfreetype-dev fonts-dejavu-core libx11-dev
  libgl1-mesa-dri xvfb xauth xdotool imagemagick clang libclang-rt-14-dev dpkg-dev file libcli11-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
