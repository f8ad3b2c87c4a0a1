#!/usr/bin/env bash
# Runs every benchmark of petcalc and prints one table of the figures:
# the core micro benchmarks, the latency of four buttons through the real
# widgets, start-up and memory against a bare Qt window, and the
# hold-to-repeat cadence. See bench/README.md.
#
# Usage: bench/run.sh [BUILD_DIR]          (make bench: build/default)
# Settings: ROUNDS=15 start-up rounds, WARMUP=2, HOLD_MS=10000 hold of the
# cadence run, MIN_TIME=0.5 seconds per Google Benchmark run, REPS=5
# repetitions of each (the median is reported).
set -euo pipefail
build=${1:-build/default}
rounds=${ROUNDS:-15}
warmup=${WARMUP:-2}
hold=${HOLD_MS:-10000}
min_time=${MIN_TIME:-0.5}
reps=${REPS:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=$work/rows.tsv
: >"$rows"

for exe in bench/core_bench bench/ui/ui_bench bench/ui/startup_bench bench/ui/bare_window \
           bench/ui/text_window bench/ui/first_frame_probe.so app/petcalc; do
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
echo "== interaction latency through the real widgets (offscreen platform)"
QT_QPA_PLATFORM=offscreen "$build/bench/ui/ui_bench" "${gbench[@]}" --benchmark_out="$work/ui.csv"

echo
echo "== start-up and memory against a bare Qt window (X11 under Xvfb)"
on_x11 "$build/bench/ui/startup_bench" --probe "$build/bench/ui/first_frame_probe.so" \
  --rounds "$rounds" --warmup "$warmup" --rows "$rows" \
  bare="$build/bench/ui/bare_window" text="$build/bench/ui/text_window" petcalc="$build/app/petcalc"

echo
echo "== hold-to-repeat cadence: Command7 held ${hold} ms through XTEST (X11 under Xvfb)"
if [ -x "$build/bench/ui/cadence_bench" ]; then
  on_x11 "$build/bench/ui/cadence_bench" --hold-ms "$hold" --rows "$rows"
else
  echo "(not built: install libxcb-xtest0-dev, see scripts/deps/bench.txt)"
fi

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
medians "$work/ui.csv" ui >>"$rows"

echo
echo "== summary: $(date -u +%Y-%m-%dT%H:%MZ), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"
awk -F'\t' -v hold="$hold" '
  function us(v, unit) { return unit == "ns" ? v / 1000 : unit == "ms" ? v * 1000 : v }
  function row(what, figure, target, met) { printf "| %-44s | %-42s | %-16s | %-4s |\n", what, figure, target, met }
  BEGIN {
    op["BM_Ok"] = "OK (Command1)"; op["BM_LevelStep"] = "level step (Command27/26)"
    op["BM_PointStep"] = "point step (Command7/5)"; op["BM_GrowthEstimate"] = "growth estimate (Command4)"
    op["BM_NumberParse"] = "number parse, 5 texts"; op["BM_DisplayFormat"] = "display format, 5 values"
    op["BM_DisplayFormatRandom"] = "display format, a random single"
    op["BM_DisplayFormatRandomReference"] = "  the same by the to_chars reference"
    op["BM_CompactFormatRandom"] = "compact format, a random single"
    op["BM_NumberParseRandom"] = "number parse of a display text"
    op["BM_NumberParseRandomReference"] = "  the same by the from_chars reference"
  }
  $1 == "startup" || $1 == "rss" || $1 == "cpu" { m[$1, $2] = $3; lo[$1, $2] = $4; hi[$1, $2] = $5; r[$1, $2] = $6 }
  $1 == "cadence" { c[$2] = $3 }
  $1 == "core" { core[++nc] = $2; ct[$2] = us($3, $4) }
  $1 == "ui" { key = $2; ui[++nu] = key; ut[key] = us($3, $4); ul[key] = $5 }
  END {
    row("figure", "measured (median [min .. max])", "target", "met")
    printf "|%s|%s|%s|%s|\n", "----------------------------------------------", "--------------------------------------------", "------------------", "------"
    if (("startup", "petcalc") in m) {
      row("start-up, exec to first frame: bare window", sprintf("%.1f ms [%.1f .. %.1f]", m["startup", "bare"], lo["startup", "bare"], hi["startup", "bare"]), "floor", "")
      row("  the same window with its text", sprintf("%.1f ms, x%.2f", m["startup", "text"], r["startup", "text"]), "", "")
      row("  petcalc", sprintf("%.1f ms [%.1f .. %.1f], x%.2f", m["startup", "petcalc"], lo["startup", "petcalc"], hi["startup", "petcalc"], r["startup", "petcalc"]), "<= 1.25 x bare", r["startup", "petcalc"] <= 1.25 ? "yes" : "no")
      row("CPU of start-up, all threads: bare window", sprintf("%.1f ms", m["cpu", "bare"]), "", "")
      row("  the same window with its text", sprintf("%.1f ms, x%.2f", m["cpu", "text"], r["cpu", "text"]), "", "")
      row("  petcalc", sprintf("%.1f ms, x%.2f", m["cpu", "petcalc"], r["cpu", "petcalc"]), "", "")
      row("resident memory 1 s later: bare window", sprintf("%.1f MiB", m["rss", "bare"]), "floor", "")
      row("  the same window with its text", sprintf("%.1f MiB, x%.2f", m["rss", "text"], r["rss", "text"]), "", "")
      row("  petcalc", sprintf("%.1f MiB, x%.2f", m["rss", "petcalc"], r["rss", "petcalc"]), "<= 1.25 x bare", r["rss", "petcalc"] <= 1.25 ? "yes" : "no")
    }
    for (i = 1; i <= nu; i++) {
      k = ui[i]; base = k; sub(/\/.*/, "", base)
      target = base == "BM_LevelStep" ? "< 500 us" : ""
      met = target == "" ? "" : (ut[k] < 500 ? "yes" : "no")
      row(op[base] ", " ul[k], sprintf("%.1f us", ut[k]), target, met)
    }
    if ("steps" in c) {
      ok = (hold == 10000) ? ((c["steps"] >= 98 && c["steps"] <= 102) ? "yes" : "no") : ""
      row(sprintf("cadence: steps in a %.1f s hold", c["hold"] / 1000), c["steps"], hold == 10000 ? "100 +- 2" : "", ok)
      row("  tick interval", sprintf("%.2f ms, sd %.2f [%.2f .. %.2f]", c["interval_mean"], c["interval_sd"], c["interval_min"], c["interval_max"]), "100 ms", "")
      d = c["drift"] < 0 ? -c["drift"] : c["drift"]
      row("  drift, last tick against first + n x 100 ms", sprintf("%+.2f ms", c["drift"]), "none (<= 5 ms)", d <= 5 ? "yes" : "no")
    }
    for (i = 1; i <= nc; i++) {
      k = core[i]
      row("core: " op[k] " (fake form)", ct[k] < 1 ? sprintf("%.0f ns", ct[k] * 1000) : sprintf("%.2f us", ct[k]), k == "BM_LevelStep" ? "< 500 us" : "", k == "BM_LevelStep" ? (ct[k] < 500 ? "yes" : "no") : "")
    }
  }' "$rows"
