#!/usr/bin/env bash
# Builds Quillorb 3D for the browser into build-web/ and serves it on http://127.0.0.1:8000/
# (--no-serve only builds). Installs what is missing first: Debian's emscripten, Chromium for
# the browser test, node and npm, puppeteer-core from npm into the build tree, and TinyXML's
# Debian source package, which emscripten lacks, fetched through the machine's own apt archive.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WEB_DIR="${WEB_BUILD_DIR:-$ROOT/build-web}"
PORT="${PORT:-8000}"
SERVE=1
[[ "${1:-}" == "--no-serve" ]] && SERVE=0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"

missing=()
for pkg in emscripten chromium chromium-headless-shell dpkg-dev; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
# Debian's emcc finds its JavaScript modules (acorn) only there.
export NODE_PATH=/usr/share/nodejs

# The data tree comes from the desktop build's generator.
if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
  "$ROOT/scripts/setup.sh" -DQUILLORB_TESTS=OFF -DQUILLORB_BENCH=OFF
else
  cmake --build "$BUILD_DIR" -j2 --target generate_assets
fi

mkdir -p "$WEB_DIR"

# puppeteer-core for the browser test, exactly as the committed lock file has it.
NODE_DIR="$WEB_DIR/node"
if ! cmp -s "$ROOT/tests/web/package-lock.json" "$NODE_DIR/package-lock.json" ||
  [[ ! -d "$NODE_DIR/node_modules/puppeteer-core" ]]; then
  echo "Installing puppeteer-core into $NODE_DIR"
  mkdir -p "$NODE_DIR"
  cp "$ROOT/tests/web/package.json" "$ROOT/tests/web/package-lock.json" "$NODE_DIR/"
  (cd "$NODE_DIR" && npm ci --no-audit --no-fund --loglevel=error)
fi

# TinyXML from Debian's source package, the same version the desktop build links where it is
# installed. A private apt state under the build tree lists the source entries of the archives
# the machine already uses, so nothing of the system's apt set-up changes.
TINYXML_DIR="$WEB_DIR/tinyxml"
if [[ ! -f "$TINYXML_DIR/source/tinyxml.cpp" ]]; then
  echo "Fetching TinyXML's Debian source package"
  APT_DIR="$WEB_DIR/apt"
  rm -rf "$APT_DIR" "$TINYXML_DIR"
  mkdir -p "$APT_DIR/sources.list.d" "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial" \
    "$TINYXML_DIR"
  if [[ -f /etc/apt/sources.list ]]; then
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$APT_DIR/sources.list"
  else
    : >"$APT_DIR/sources.list"
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -e "$f" ]] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$APT_DIR/sources.list.d/$(basename "$f")"
  done
  for f in /etc/apt/sources.list.d/*.list; do
    [[ -e "$f" ]] || continue
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >"$APT_DIR/sources.list.d/$(basename "$f")"
  done
  APT=(apt-get -qq -o "Dir::Etc::SourceList=$APT_DIR/sources.list"
    -o "Dir::Etc::SourceParts=$APT_DIR/sources.list.d" -o "Dir::State::Lists=$APT_DIR/lists"
    -o "Dir::Cache=$APT_DIR/cache" -o "APT::Sandbox::User=root")
  "${APT[@]}" update
  version="$(dpkg-query -W -f '${Version}' libtinyxml-dev 2>/dev/null || true)"
  (cd "$TINYXML_DIR" && "${APT[@]}" source "tinyxml${version:+=$version}" >/dev/null)
  mv "$TINYXML_DIR"/tinyxml-*/ "$TINYXML_DIR/source"
fi

echo "Building the browser build in $WEB_DIR"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
emcmake cmake -S "$ROOT" -B "$WEB_DIR" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DQUILLORB_TINYXML_SOURCE="$TINYXML_DIR/source" >/dev/null
cmake --build "$WEB_DIR" -j2 --target quillorb

SITE="$WEB_DIR/site"
echo "The page: $SITE/index.html ($(du -cb "$SITE"/quillorb.{wasm,js,data} | tail -1 | cut -f1) bytes to download)"
if ((SERVE)); then
  echo "Serving the game on http://127.0.0.1:$PORT/ (Ctrl+C stops)"
  exec node "$ROOT/tests/web/serve.mjs" "$SITE" "$PORT"
fi
