#!/usr/bin/env bash
# The Windows program's figures: the size of petcalc.exe, and start-up to
# the first paint under Wine against a bare Win32 window (startup_bench, the
# two in turns in one Wine session, median and quartiles of ROUNDS rounds).
# Goals: at most 1.5 MB, at most 1.25 times the bare window.
#
# Usage: bench/win32/run.sh          ROUNDS=20 WARMUP=2 (environment)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
{ [ -f build/win/CMakeCache.txt ] || cmake --preset win >/dev/null; }
cmake --build build/win --target petcalc bare_window startup_bench -j 2 >/dev/null
exe=$root/build/win/win32/petcalc.exe bare=$root/build/win/bench/win32/bare_window.exe
size=$(stat -c %s "$exe")
windows() { local p=${1//\//\\}; echo "Z:$p"; }  # the path as Wine's drive Z: shows it
out=$(RUN_TIMEOUT=1800 bash scripts/win32.sh build/win/bench/win32/startup_bench.exe "${ROUNDS:-20}" "${WARMUP:-2}" \
        "$(windows "$exe")" "$(windows "$bare")")
awk -v size="$size" -F'\t' '
  NR == 1 { p = $2; pq = $3 "–" $4 }
  NR == 2 { b = $2; bq = $3 "–" $4 }
  END {
    printf "%-34s %12s %10s\n", "figure", "value", "goal"
    printf "%-34s %9.2f MB %10s\n", "petcalc.exe size", size / 1048576, "≤ 1.5 MB"
    printf "%-34s %9.1f ms %10s   (quartiles %s)\n", "start-up to first paint, petcalc", p, "", pq
    printf "%-34s %9.1f ms %10s   (quartiles %s)\n", "start-up to first paint, bare", b, "", bq
    printf "%-34s %11.2f× %10s\n", "petcalc / bare", p / b, "≤ 1.25×"
  }' <<<"$out"
