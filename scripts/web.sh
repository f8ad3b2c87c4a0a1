#!/usr/bin/env bash
# The web page: builds web/dist with the wasm preset (the core compiled by
# Emscripten, the page written from the window data). "build" also installs
# the browser tests' npm packages (npm ci, when web/package-lock.json is
# newer than the install); "serve" serves web/dist on 127.0.0.1 and prints
# the URL.
#   scripts/web.sh build|serve [PORT]          (make web: serve)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
{ [ -f build/wasm/CMakeCache.txt ] || cmake --preset wasm >/dev/null; } &&
  cmake --build --preset wasm --target web -j "${JOBS:-2}" >/dev/null
case "${1:-build}" in
  build)
    if [ ! web/node_modules/.installed -nt web/package-lock.json ]; then
      (cd web && npm ci --no-audit --no-fund --loglevel=error >/dev/null && touch node_modules/.installed)
    fi ;;
  serve) exec node web/serve.mjs web/dist "${2:-8325}" ;;
  *) echo "usage: scripts/web.sh build|serve [PORT]" >&2; exit 64 ;;
esac
