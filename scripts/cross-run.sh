#!/usr/bin/env bash
# Runs a console program of a cross build: build/wasm/bin/TARGET.js under
# node, or build/win/bin/TARGET.exe under Wine (a prefix of its own in
# build/win/wine, made the first time, ~15 s; no display needed). Arguments,
# standard input and output pass through; the exit code is the program's.
# Time limit RUN_TIMEOUT seconds (600), for a hang.
#
# Usage: scripts/cross-run.sh wasm|win TARGET [ARG...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:?usage: scripts/cross-run.sh wasm|win TARGET [ARG...]}
target=${2:?usage: scripts/cross-run.sh wasm|win TARGET [ARG...]}
shift 2
build=$root/build/$preset
limit=${RUN_TIMEOUT:-600}

case $preset in
wasm)
  exec timeout -k 5 "$limit" node "$build/bin/$target.js" "$@"
  ;;
win)
  export WINEPREFIX=$build/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout -k 5 600 wineboot -i </dev/null >/dev/null 2>&1 || { echo "cross-run: wineboot failed" >&2; exit 1; }
    fi
  ) 9>"$build/.wine.lock"
  # Wine's server and service processes, started here away from the
  # caller's pipes: started by the program's own wine they would hold the
  # caller's output open until they end, seconds later. They end by
  # themselves 3 s after the last program, so that runs in a row share them.
  { wineserver -p3; timeout 600 wine cmd /c exit; } </dev/null >/dev/null 2>&1 || true
  status=0
  timeout -k 5 "$limit" wine "$build/bin/$target.exe" "$@" || status=$?
  if [ "$status" -eq 124 ]; then wineserver -k || true; fi
  exit "$status"
  ;;
*)
  echo "cross-run: no such cross preset '$preset' (wasm, win)" >&2
  exit 2
  ;;
esac
