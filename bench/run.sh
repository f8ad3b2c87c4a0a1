#!/usr/bin/env bash
# Runs the native benchmarks of petcalc and prints one table of the
# figures: the core micro benchmarks, start-up and memory against a bare
# Qt window, the planner in the page's WebAssembly in Chromium, and what a
# tap or keystroke costs the page's handlers with the CPU throttled. See
# bench/README.md.
#
# Usage: bench/run.sh [BUILD_DIR]          (make bench: build/default)
# Settings: ROUNDS=15 start-up rounds, WARMUP=2, MIN_TIME=0.5 seconds per
# Google Benchmark run, REPS=5 repetitions of each (the median is reported),
# PLAN_SAMPLES=31 warm samples of each plan in Chromium, TAP_ROUNDS=2 plays
# of the page's tap script per view and CPU rate.
set -euo pipefail
build=${1:-build/default}
rounds=${ROUNDS:-15}
warmup=${WARMUP:-2}
min_time=${MIN_TIME:-0.5}
reps=${REPS:-5}
plan_samples=${PLAN_SAMPLES:-31}
tap_rounds=${TAP_ROUNDS:-2}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=$work/rows.tsv
: >"$rows"

for exe in bench/core_bench bench/ui/startup_bench bench/ui/bare_window bench/ui/first_frame_probe.so \
           app/petcalc; do
  if [ ! -e "$build/$exe" ]; then
    echo "bench: $build/$exe is missing; build first (make bench builds everything)" >&2
    exit 1
  fi
done
if ! command -v xvfb-run >/dev/null; then
  echo "bench: xvfb-run is missing (apt-get install xvfb xauth)" >&2
  exit 1
fi

gbench=(--benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true
        --benchmark_min_time="$min_time" --benchmark_out_format=csv)

# The X11 runs: one virtual display, no session bus for either program (so
# neither starts a D-Bus daemon), a private runtime folder.
export XDG_RUNTIME_DIR=$work/xdg DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -m 700 "$XDG_RUNTIME_DIR"
on_x11() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }

echo "== core micro benchmarks (build/.../bench/core_bench, fake form, no Qt)"
"$build/bench/core_bench" "${gbench[@]}" --benchmark_out="$work/core.csv"

echo
echo "== start-up and memory against a bare Qt window (X11 under Xvfb)"
on_x11 "$build/bench/ui/startup_bench" --probe "$build/bench/ui/first_frame_probe.so" \
  --rounds "$rounds" --warmup "$warmup" --rows "$rows" \
  bare="$build/bench/ui/bare_window" petcalc="$build/app/petcalc"

# The medians of the Google Benchmark CSV files as rows: name, time, unit, label.
medians() {
  awk -F, -v kind="$2" '
    /^name,/ { body = 1; next }
    body && $1 ~ /_median"$/ {
      name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
      label = $8; gsub(/"/, "", label)
      print kind "\t" name "\t" $3 "\t" $5 "\t" label
    }' "$1"
}
medians "$work/core.csv" core >>"$rows"

echo
echo "== the planner in the page's WebAssembly (headless Chromium)"
bash scripts/web.sh build petcalc-plan-bench
node bench/web/plan_bench.mjs build/wasm/bench/web/plan_bench.wasm "$plan_samples" "$rows"

echo
echo "== a tap's cost in the page's handlers, CPU throttled 1x and 4x (headless Chromium, web/dist)"
node bench/web/tap_bench.mjs --rounds="$tap_rounds" --rows="$rows"

echo
echo "== summary: $(date -u +%Y-%m-%dT%H:%MZ), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"
awk -F'\t' '
  function us(v, unit) { return unit == "ns" ? v / 1000 : unit == "ms" ? v * 1000 : v }
  function dur(v) { return v >= 1000 ? sprintf("%.2f ms", v / 1000) : v >= 100 ? sprintf("%.0f us", v) : sprintf("%.2f us", v) }
  function row(what, figure, target, met) { printf "| %-44s | %-42s | %-16s | %-4s |\n", what, figure, target, met }
  BEGIN {
    op["BM_Ok"] = "OK (Command1)"; op["BM_LevelStep"] = "level step (Command27/26)"
    op["BM_PointStep"] = "point step (Command7/5)"; op["BM_GrowthEstimate"] = "growth estimate (Command4)"
    op["BM_NumberParse"] = "number parse, 5 texts"; op["BM_DisplayFormat"] = "display format, 5 values"
    op["BM_DisplayFormatRandom"] = "display format, a random single"
    op["BM_CompactFormatRandom"] = "compact format, a random single"
    op["BM_NumberParseRandom"] = "number parse of a display text"
  }
  $1 == "startup" || $1 == "rss" || $1 == "cpu" { m[$1, $2] = $3; lo[$1, $2] = $4; hi[$1, $2] = $5; r[$1, $2] = $6 }
  $1 == "core" { core[++nc] = $2; ct[$2] = us($3, $4); label[$2] = $5 }
  $1 == "wasm" { for (i = 3; i <= 9; i++) w[$2, i] = $i; inpage[$2] = 1 }
  $1 == "tap" { tap[++nt] = $0 }
  END {
    row("figure", "measured (median [min .. max])", "target", "met")
    printf "|%s|%s|%s|%s|\n", "----------------------------------------------", "--------------------------------------------", "------------------", "------"
    if (("startup", "petcalc") in m) {
      row("start-up, exec to first frame: bare window", sprintf("%.1f ms [%.1f .. %.1f]", m["startup", "bare"], lo["startup", "bare"], hi["startup", "bare"]), "floor", "")
      row("  petcalc", sprintf("%.1f ms [%.1f .. %.1f], x%.2f", m["startup", "petcalc"], lo["startup", "petcalc"], hi["startup", "petcalc"], r["startup", "petcalc"]), "<= 1.25 x bare", r["startup", "petcalc"] <= 1.25 ? "yes" : "no")
      row("CPU of start-up, all threads: bare window", sprintf("%.1f ms", m["cpu", "bare"]), "", "")
      row("  petcalc", sprintf("%.1f ms, x%.2f", m["cpu", "petcalc"], r["cpu", "petcalc"]), "", "")
      row("resident memory 1 s later: bare window", sprintf("%.1f MiB", m["rss", "bare"]), "floor", "")
      row("  petcalc", sprintf("%.1f MiB, x%.2f", m["rss", "petcalc"], r["rss", "petcalc"]), "<= 1.25 x bare", r["rss", "petcalc"] <= 1.25 ? "yes" : "no")
    }
    for (i = 1; i <= nc; i++) {
      k = core[i]
      if (k ~ /^BM_Plan/) {  # BM_Plan/N: its label says the way, the level and the points
        L = label[k]; tried = L ~ /^every placement/
        row("plan, " L ": native", dur(ct[k]), tried ? "" : "<= 1 ms", tried ? "" : (ct[k] <= 1000 ? "yes" : "no"))
        if (!(L in inpage)) continue
        row("  in the page (wasm, Chromium), warm", sprintf("%s [%s .. %s], x%.1f", dur(w[L, 3]), dur(w[L, 4]), dur(w[L, 5]), w[L, 3] / ct[k]), tried ? "" : "<= 1 ms", tried ? "" : (w[L, 3] <= 1000 ? "yes" : "no"))
        row("  in the page, first plan (compiles it)", sprintf("%s [%s .. %s]; second %s", dur(w[L, 6]), dur(w[L, 7]), dur(w[L, 8]), dur(w[L, 9])), tried ? "" : "<= 1 ms", tried ? "" : (w[L, 6] <= 1000 ? "yes" : "no"))
        continue
      }
      row("core: " op[k] " (fake form)", ct[k] < 1 ? sprintf("%.0f ns", ct[k] * 1000) : sprintf("%.2f us", ct[k]), k == "BM_LevelStep" ? "< 500 us" : "", k == "BM_LevelStep" ? (ct[k] < 500 ? "yes" : "no") : "")
    }
    for (i = 1; i <= nt; i++) {  # tap, view, rate, the highest p90 of an action, that action, the slowest event
      split(tap[i], t, "\t"); slow = t[3] == 4
      row(sprintf("page: handlers of a tap, %s, CPU %sx", t[2], t[3]), sprintf("p90 %.1f (%s), max %.1f ms", t[4], t[5], t[6]),
          slow ? "<= 8 ms an event" : "", slow ? (t[6] <= 8 ? "yes" : "no") : "")
    }
  }' "$rows"
