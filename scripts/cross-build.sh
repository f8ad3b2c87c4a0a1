#!/usr/bin/env bash
# Builds console programs of the core with a cross preset: wasm (Emscripten)
# or win (MinGW-w64), in build/PRESET; configures it first (the first time
# takes a few seconds more). Without TARGET: every console program
# (cross_programs, see cmake/cross.cmake); `cmake --build --preset PRESET`
# builds the core library alone.
#
# Usage: scripts/cross-build.sh wasm|win [TARGET...]     (JOBS=2 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: scripts/cross-build.sh wasm|win [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(cross_programs)
build=build/$preset

mkdir -p build
# One build at a time in a tree: tests that share it may start together.
exec 9>"build/.$preset.lock"
flock 9

start=$(date +%s.%N)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake --preset "$preset" >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
cmake --build "$build" --target "${targets[@]}" -j "${JOBS:-2}"
echo "cross-build: $preset ${targets[*]} in $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
