#!/usr/bin/env bash
# Builds Quillorb 3D and runs every check: the fuzz targets for a bounded time, the tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole test suite on a
# virtual X server. The last lines are the test runner's summary.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
# The build folder may have been configured without tests for an install or to play; these
# need them, and the benchmarks must still build. The fuzz build below needs clang.
"$ROOT/scripts/setup.sh" --with-fuzz-tools -DQUILLORB_TESTS=ON -DQUILLORB_BENCH=ON

XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24")
export ALSOFT_DRIVERS=null

if [[ "${SKIP_FUZZ:-0}" != 1 ]]; then
  echo "== Fuzzing each parser for ${FUZZ_SECONDS} s"
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLORB_FUZZ=ON -DQUILLORB_TESTS=OFF -DQUILLORB_BENCH=OFF >/dev/null
  cmake --build "$ROOT/build-fuzz" -j"$(nproc)" >/dev/null
  for target in "$ROOT"/fuzz/*.cpp; do
    name="$(basename "$target" .cpp)"
    corpus="$ROOT/build-fuzz/corpus-$name"
    mkdir -p "$corpus"
    seeds=()
    case "$name" in
      *font*) seeds=("$ROOT/fuzz/corpus/font") ;;
      *wave*) seeds=("$ROOT/fuzz/corpus/wave") ;;
      *replay*) seeds=("$ROOT/fuzz/corpus/replay") ;;
      *best_times*) seeds=("$ROOT/fuzz/corpus/best-times") ;;
      *settings*) seeds=("$ROOT/fuzz/corpus/settings") ;;
      *command_line*) seeds=("$ROOT/fuzz/corpus/arguments") ;;
      *) seeds=("$ROOT/fuzz/corpus/mesh") ;;
    esac
    (cd "$ROOT/build-fuzz" && "./fuzz/$name" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
      -rss_limit_mb=4096 "$corpus" "${seeds[@]}" >"$ROOT/build-fuzz/$name.log" 2>&1) ||
      { tail -50 "$ROOT/build-fuzz/$name.log"; echo "fuzz target $name found a problem"; exit 1; }
    echo "$name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$ROOT/build-fuzz/$name.log"), nothing found"
  done
fi

if [[ "${SKIP_SANITIZE:-0}" != 1 ]]; then
  echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORB_SANITIZE=ON \
    -DQUILLORB_BENCH=OFF >/dev/null
  cmake --build "$ROOT/build-asan" -j"$(nproc)" >/dev/null
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "${XVFB[@]}" ctest --test-dir "$ROOT/build-asan" --output-on-failure -E "e2e" -j1
fi

echo "== The test suite"
"${XVFB[@]}" ctest --test-dir "$BUILD_DIR" --output-on-failure

# ---- The browser build: built with emscripten and played in headless Chromium ----
# Kept apart from the blocks above. The desktop build registers the browser test once the
# browser build exists; when it already did, the suite above has run it.
registered="$(ctest --test-dir "$BUILD_DIR" -N -R '^web$' | grep -c 'Test *#' || true)"
echo "== The browser build and its test in headless Chromium"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/web.sh" --no-serve
if [[ "$registered" == 0 ]]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null
  ctest --test-dir "$BUILD_DIR" --output-on-failure -R '^web'
fi
