#!/usr/bin/env bash
# Where the work of a start-up goes: the instructions each program executes
# from exec until it idles after its first frame (valgrind's callgrind,
# exact and unaffected by other load on the machine), for the bare window,
# the same window with its text, and petcalc, split by library.
# Usage: bench/ui/profile_startup.sh [BUILD_DIR] [OUT_DIR]
# The .out files can be read further with callgrind_annotate or kcachegrind.
set -euo pipefail
build=${1:-build/default}
out=${2:-$(mktemp -d)}
mkdir -p "$out"
command -v valgrind >/dev/null || { echo "valgrind is missing (scripts/deps/bench.txt)" >&2; exit 1; }

export XDG_RUNTIME_DIR=$out/xdg DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# Under valgrind a start-up takes a few seconds; SIGTERM after 10 s ends
# the idle program and callgrind writes its counts.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  for p in bare:bench/ui/bare_window text:bench/ui/text_window petcalc:app/petcalc; do
    timeout -s TERM 10 valgrind --tool=callgrind --callgrind-out-file="$2/${p%%:*}.out" "$1/${p#*:}" \
      >/dev/null 2>"$2/${p%%:*}.log" || true
  done' _ "$build" "$out"

for p in bare text petcalc; do
  printf "%s\t%s\t%s\n" "$p" "=all" "$(sed -n 's/.*Collected : //p' "$out/$p.log" | tail -1)"
  callgrind_annotate --threshold=100 "$out/$p.out" 2>/dev/null |
    awk -v p="$p" '/^ *[0-9,]+ \(/ && !/PROGRAM TOTALS/ && /\]$/ {
      n = $1; gsub(/,/, "", n); o = $NF; gsub(/[][]/, "", o); sub(/.*\//, "", o); print p "\t" o "\t" n }'
done | awk -F'\t' '
  $2 == "=all" { total[$1] = $3; next }
  { ir[$1, $2] += $3; lib[$2] = 1 }
  END {
    printf "%-34s %12s %12s %12s %12s\n", "instructions (millions)", "bare", "text", "petcalc", "petcalc-text"
    printf "%-34s %12.1f %12.1f %12.1f %+12.1f\n", "all", total["bare"] / 1e6, total["text"] / 1e6,
           total["petcalc"] / 1e6, (total["petcalc"] - total["text"]) / 1e6
    for (l in lib) if (ir["petcalc", l] + ir["text", l] > 2e5)
      printf "%-34s %12.1f %12.1f %12.1f %+12.1f\n", "  " l, ir["bare", l] / 1e6, ir["text", l] / 1e6,
             ir["petcalc", l] / 1e6, (ir["petcalc", l] - ir["text", l]) / 1e6 | "sort -k5 -g -r"
  }'
echo "callgrind files in $out"
