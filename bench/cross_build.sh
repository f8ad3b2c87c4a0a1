#!/usr/bin/env bash
# Times the cross builds from scratch, each in a fresh build folder: the
# configure, the core library (what `cmake --build --preset PRESET` builds),
# then every console program; the making of a Wine prefix, and a run of
# numtext_smoke under node and under Wine; the same for the native core
# (preset core without tests) for comparison. Prints one table.
# See bench/README.md.
#
# Usage: bench/cross_build.sh                (JOBS=2 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
work=$(mktemp -d)
trap 'WINEPREFIX=$work/win/wine wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

seconds() { local s; s=$(date +%s.%N); "$@" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

rows=()
for preset in core wasm win; do
  dir=$work/$preset
  extra=()
  # The native core alone, for comparison: no tests, no benchmarks.
  [ "$preset" = core ] && extra=(-DPETCALC_BUILD_TESTS=OFF -DPETCALC_BUILD_BENCH=OFF)
  configure=$(seconds cmake --preset "$preset" -B "$dir" "${extra[@]}")
  core=$(seconds cmake --build "$dir" --target petcalc_core -j "$jobs")
  programs=$(seconds cmake --build "$dir" --target cross_programs -j "$jobs")
  setup=""
  if [ "$preset" = core ]; then
    run=$(seconds "$dir/headless/numtext_smoke")
  elif [ "$preset" = wasm ]; then
    run=$(seconds timeout 120 node "$dir/bin/numtext_smoke.js")
  else
    export WINEPREFIX=$dir/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    setup=$(seconds bash -c 'timeout 180 wineboot -i && timeout 60 wineserver -w')
    run=$(seconds timeout 120 wine "$dir/bin/numtext_smoke.exe")
    timeout 30 wineserver -w
  fi
  rows+=("| $preset | $configure s | $core s | $programs s | ${setup:+$setup s} | $run s |")
done

echo "== cross builds from scratch: $(date -u +%Y-%m-%dT%H:%MZ), -j$jobs, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| build | configure | core library | console programs | Wine prefix | a run of numtext_smoke |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
