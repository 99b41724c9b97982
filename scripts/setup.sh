#!/usr/bin/env bash
# Installs the Debian packages the configured build needs (only those missing), then configures
# and builds it. The build also runs our asset generator, which fills run/ with the level.
#
#   setup.sh [CMAKE-OPTION...]            the whole build: the game, its tests and benchmarks
#                                         unless -DQUILLORB_TESTS=OFF / -DQUILLORB_BENCH=OFF
#   setup.sh --play                       only what scripts/play.sh runs; a new build folder
#                                         is configured without the tests and benchmarks
#   setup.sh --install [CMAKE-OPTION...]  the build to install or package: Release with
#                                         Debian's hardening flags, no tests or benchmarks
#
# --with-fuzz-tools also installs clang and libFuzzer, for a fuzz build in a folder of its own.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# The game and its Debian package: compilers, the libraries the game links, the generator's
# stb and FreeType with the font it draws from, Xlib for tools/closewindow, Mesa's drivers
# (software rendering included), and what cpack and dpkg-buildflags run.
GAME_PACKAGES=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libdevil-dev libopenal-dev libtinyxml-dev libglm-dev
  libtomlplusplus-dev libcli11-dev
  libstb-dev libfreetype-dev fonts-dejavu-core libx11-dev libgl1-mesa-dri
  dpkg-dev file
)
# Tests: GoogleTest; the suite runs on a virtual X server, and the end-to-end tests type keys.
TEST_PACKAGES=(libgtest-dev xvfb xauth xdotool)
# Benchmarks: Google Benchmark; the rendering ones run on a virtual X server too.
BENCH_PACKAGES=(libbenchmark-dev xvfb xauth)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# play.sh without a display: a virtual X server, and `import` for its screenshot.
HEADLESS_PACKAGES=(xvfb xauth imagemagick)

mode=build
fuzz_tools=0
cmake_options=()
for arg in "$@"; do
  case "$arg" in
    --play) mode=play ;;
    --install) mode=install ;;
    --with-fuzz-tools) fuzz_tools=1 ;;
    *) cmake_options+=("$arg") ;;
  esac
done

targets=()
case "$mode" in
  build) cmake_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORB_DEBIAN_BUILDFLAGS=OFF
    "${cmake_options[@]}") ;;
  install) cmake_options=(-DCMAKE_BUILD_TYPE=Release -DQUILLORB_DEBIAN_BUILDFLAGS=ON
    -DQUILLORB_TESTS=OFF -DQUILLORB_BENCH=OFF "${cmake_options[@]}") ;;
  play)
    # A build folder someone configured keeps its options; play only builds less of it.
    [[ -f "$BUILD_DIR/CMakeCache.txt" ]] ||
      cmake_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORB_TESTS=OFF -DQUILLORB_BENCH=OFF)
    targets=(--target quillorb closewindow)
    ;;
esac

# Whether the build will have OPTION on: the last -D for it, else the build folder's cache,
# else CMake's default for it.
option_on() {
  local name=$1 value=$2 cached arg
  if [[ -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cached=$(sed -n "s/^$name:[A-Z]*=//p" "$BUILD_DIR/CMakeCache.txt")
    value=${cached:-$value}
  fi
  for arg in "${cmake_options[@]}"; do
    [[ "$arg" =~ ^-D$name(:[A-Z]+)?=(.*)$ ]] && value=${BASH_REMATCH[2]}
  done
  case "${value^^}" in ON | YES | TRUE | Y | 1) return 0 ;; *) return 1 ;; esac
}

packages=("${GAME_PACKAGES[@]}")
option_on QUILLORB_TESTS ON && packages+=("${TEST_PACKAGES[@]}")
option_on QUILLORB_BENCH ON && packages+=("${BENCH_PACKAGES[@]}")
if option_on QUILLORB_FUZZ OFF || ((fuzz_tools)); then packages+=("${FUZZ_PACKAGES[@]}"); fi
[[ "$mode" == play && -z "${DISPLAY:-}" ]] && packages+=("${HEADLESS_PACKAGES[@]}")

missing=()
for pkg in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

cmake -S "$ROOT" -B "$BUILD_DIR" "${cmake_options[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
