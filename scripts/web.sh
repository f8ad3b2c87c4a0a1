#!/usr/bin/env bash
# The web page: builds web/dist with the wasm preset (the core compiled by
# Emscripten, the page written from the window data). "build" also installs
# the browser tests' npm packages (npm ci, when web/package-lock.json is
# newer than the install); "serve" serves web/dist on 127.0.0.1 and prints
# the URL. Targets named after "build" are built with the page (the
# planner's benchmark module: bench/run.sh).
#   scripts/web.sh build [TARGET...]|serve [PORT]          (make web: serve)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
case "${1:-build}" in
  build|serve) ;;
  *) echo "usage: scripts/web.sh build [TARGET...]|serve [PORT]" >&2; exit 64 ;;
esac
targets=(web)
[ "${1:-build}" = serve ] || targets+=("${@:2}")
# One build at a time in build/wasm (scripts/cross-build.sh takes the same
# lock), and one npm ci: calls side by side wait here, and the later ones
# find nothing to do.
mkdir -p build
(
  flock 9
  [ -f build/wasm/CMakeCache.txt ] || cmake --preset wasm >/dev/null
  cmake --build --preset wasm --target "${targets[@]}" -j "${JOBS:-2}" >/dev/null
  if [ "${1:-build}" = build ] && [ ! web/node_modules/.installed -nt web/package-lock.json ]; then
    cd web
    npm ci --no-audit --no-fund --loglevel=error >/dev/null
    touch node_modules/.installed
  fi
) 9>build/.wasm.lock
[ "${1:-build}" = build ] || exec node web/serve.mjs web/dist "${2:-8325}"
