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

# Nothing the checks run may change the real home: each test program has a home of its own in
# the build tree and each game a test starts another. The home is listed (path, size, time of
# the last change, folders included) before and after each run of checks, not around the
# builds, which may fill a compiler cache there; the source and build trees are left out
# when they lie in it. Folders below the home that other programs change while the checks run
# (a mail client, a compiler cache fed by builds beside these) can be left out by name:
# QUILLORB_HOME_UNWATCHED="folder:folder", relative to the home; each is named in the output.
HOME_BEFORE="$(mktemp)"
HOME_AFTER="$(mktemp)"
trap 'rm -f "$HOME_BEFORE" "$HOME_AFTER"' EXIT
home_listing() {
  local skip=(-path "$ROOT" -o -path "$(realpath -m "$BUILD_DIR")")
  local unwatched
  IFS=: read -r -a unwatched <<<"${QUILLORB_HOME_UNWATCHED:-}"
  for folder in "${unwatched[@]}"; do
    [[ -n "$folder" ]] && skip+=(-o -path "$HOME/${folder%/}")
  done
  find "$HOME" -xdev \( "${skip[@]}" \) -prune -o -printf '%p %s %T@\n' 2>/dev/null | LC_ALL=C sort
}
home_before() {
  [[ -z "${QUILLORB_HOME_UNWATCHED:-}" ]] ||
    echo "(the home check leaves out $QUILLORB_HOME_UNWATCHED below $HOME)"
  home_listing >"$HOME_BEFORE"
}
home_after() {
  home_listing >"$HOME_AFTER"
  if ! diff "$HOME_BEFORE" "$HOME_AFTER" >/dev/null; then
    echo "The checks changed the real home $HOME (< before, > after):"
    diff "$HOME_BEFORE" "$HOME_AFTER" || true
    exit 1
  fi
}

if [[ "${SKIP_FUZZ:-0}" != 1 ]]; then
  echo "== Fuzzing each parser for ${FUZZ_SECONDS} s"
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLORB_FUZZ=ON -DQUILLORB_TESTS=OFF -DQUILLORB_BENCH=OFF >/dev/null
  cmake --build "$ROOT/build-fuzz" -j"$(nproc)" >/dev/null
  home_before
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
  home_after
fi

if [[ "${SKIP_SANITIZE:-0}" != 1 ]]; then
  echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORB_SANITIZE=ON \
    -DQUILLORB_BENCH=OFF >/dev/null
  cmake --build "$ROOT/build-asan" -j"$(nproc)" >/dev/null
  home_before
  status=0
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "${XVFB[@]}" ctest --test-dir "$ROOT/build-asan" --output-on-failure -E "e2e" -j1 || status=$?
  home_after
  [[ "$status" == 0 ]] || exit "$status"
fi

# The browser build first, so that the suite below registers and runs its test with the rest.
echo "== The browser build"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/web.sh" --no-serve
cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null

echo "== The test suite"
# In an order of its own each run, so that no test leans on what another left; the seed
# brings a failing order back: GTEST_RANDOM_SEED=N bash scripts/test.sh.
export GTEST_SHUFFLE=1
export GTEST_RANDOM_SEED="${GTEST_RANDOM_SEED:-$(((RANDOM * 32768 + RANDOM) % 99999 + 1))}"
echo "Tests shuffled with seed $GTEST_RANDOM_SEED"
home_before
status=0
"${XVFB[@]}" ctest --test-dir "$BUILD_DIR" --output-on-failure || status=$?
home_after
exit "$status"
