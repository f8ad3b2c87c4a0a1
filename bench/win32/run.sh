#!/usr/bin/env bash
# The Windows program's figures: the size of petcalc.exe, and start-up to
# the first paint under Wine against a bare Win32 window (startup_bench, the
# two in turns in one Wine session, median and quartiles of ROUNDS rounds),
# in Wine's desktop and as top-level X windows.
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
awk -v s="$size" 'BEGIN { printf "petcalc.exe: %.2f MB (goal ≤ 1.5 MB)\n", s / 1048576 }'
windows() { local p=${1//\//\\}; echo "Z:$p"; }  # the path as Wine's drive Z: shows it
# Twice: in Wine's desktop (as the tests run) and as top-level X windows.
for mode in --desktop --no-desktop; do
  opts=()
  [ "$mode" = --no-desktop ] && opts=(--no-desktop)
  out=$(RUN_TIMEOUT=1800 bash scripts/win32.sh "${opts[@]}" build/win/bench/win32/startup_bench.exe \
          "${ROUNDS:-20}" "${WARMUP:-2}" "$(windows "$exe")" "$(windows "$bare")")
  echo "start-up to first paint, ${mode#--}:"
  awk -F'\t' '
    NR == 1 { p = $2; pq = $3 "–" $4 }
    NR == 2 { b = $2; bq = $3 "–" $4 }
    END {
      printf "  %-20s %8.1f ms   (quartiles %s)\n", "petcalc.exe", p, pq
      printf "  %-20s %8.1f ms   (quartiles %s)\n", "bare window", b, bq
      printf "  %-20s %9.2f×   (goal ≤ 1.25×)\n", "petcalc / bare", p / b
    }' <<<"$out"
done
