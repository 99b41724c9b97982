#!/usr/bin/env bash
# Builds Quillorb 3D and starts it from its data tree, run/.
# Without a display it plays about 20 seconds on a virtual X server, saves a screenshot and
# closes the window the way a window manager would, so the game shuts down normally.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/setup.sh" --play

cd "$ROOT/run"
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$BUILD_DIR/quillorb"
fi

SHOT="${SCREENSHOT:-$BUILD_DIR/quillorb-screenshot.png}"
echo "No display is set: running the game on a virtual X server for about 20 seconds."
# Nobody listens on a virtual display: play the music into OpenAL's silent device.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/quillorb" &
  game=$!
  sleep 20
  import -window root "$1"
  "$0/tools/closewindow" "Quillorb 3D"
  # A game that ignores the request is stopped after two minutes (software GL is slow).
  # Its sleep goes with it when the game ends in time, instead of lingering two minutes.
  ( trap "kill \$nap 2>/dev/null; exit 0" TERM; sleep 120 & nap=$!; wait $nap; kill $game 2>/dev/null ) &
  watchdog=$!
  wait $game
  status=$?
  kill $watchdog 2>/dev/null
  exit $status
' "$BUILD_DIR" "$SHOT"
echo "Screenshot saved to $SHOT"
