#!/usr/bin/env bash
# The replay protocol's one entry point: reads steps on stdin, writes one
# state line per step on stdout (docs/replay-protocol.md).
#   scripts/replay.sh FRONT_END      core | qt | core-wasm | core-win | web | web-firefox | web-webkit | win32
# Builds what the front end needs first (quietly); PETCALC_REPLAY_NO_BUILD=1
# skips that, for callers that have built already (ctest), and
# PETCALC_BUILD_DIR names their build folder (the sanitizer build's, say)
# instead of build/default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${PETCALC_BUILD_DIR:-$root/build/default}
fe=${1:?usage: replay.sh core|qt|core-wasm|core-win|web|web-firefox|web-webkit|win32}

# One build at a time in a tree (the lock scripts/cross-build.sh and
# scripts/web.sh take): calls side by side wait, and the later ones find
# nothing to do.
build() {  # preset target
  [ -n "${PETCALC_REPLAY_NO_BUILD:-}" ] && return 0
  mkdir -p "$root/build"
  (cd "$root" && flock 9 && { [ -f "build/$1/CMakeCache.txt" ] || cmake --preset "$1" >/dev/null; } &&
     cmake --build --preset "$1" --target "$2" >/dev/null) 9>"$root/build/.$1.lock" >&2
}

case "$fe" in
  core) build default petcalc-replay-core
        exec "$native/headless/petcalc-replay-core" ;;
  qt)   build default petcalc-replay
        QT_QPA_PLATFORM=offscreen exec "$native/tests/petcalc-replay" 2> >(grep -v '^QStandardPaths' >&2) ;;
  core-wasm)
        build wasm petcalc-replay-core
        exec bash "$root/scripts/cross-run.sh" wasm petcalc-replay-core ;;
  core-win)
        build win petcalc-replay-core
        exec bash "$root/scripts/cross-run.sh" win petcalc-replay-core ;;
  web|web-firefox|web-webkit)  # the page in Chromium, Firefox or WebKit (tests/web/replay.mjs)
        [ -n "${PETCALC_REPLAY_NO_BUILD:-}" ] || bash "$root/scripts/web.sh" build >&2
        case "$fe" in
          web) exec node "$root/tests/web/replay.mjs" chromium ;;
          web-firefox) exec node "$root/tests/web/replay.mjs" firefox ;;
          # WebKitGTK's MiniBrowser has no headless mode: a virtual display
          web-webkit) exec bash "$root/scripts/xvfb.sh" node "$root/tests/web/replay.mjs" webkit ;;
        esac ;;
  win32)  # the real windows under Wine on a virtual display (scripts/win32.sh)
        build win petcalc-replay-win32
        exec bash "$root/scripts/win32.sh" "$root/build/win/tests/win32/petcalc-replay-win32.exe" ;;
  *) echo "replay.sh: unknown front end '$fe' (core, qt, core-wasm, core-win, web, web-firefox, web-webkit, win32)" >&2; exit 64 ;;
esac
