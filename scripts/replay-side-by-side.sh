#!/usr/bin/env bash
# Calls of scripts/replay.sh side by side, as users and CI jobs make them:
# CALLS calls for each web engine, AT_ONCE at a time, the engines taken in
# turn, with one core kept busy. Every call builds first (no
# PETCALC_REPLAY_NO_BUILD), plays the steps of holds.jsonl's first case (or
# STEPS) and must give the reference's output byte for byte. The page is
# built once before the calls, so none of them finds anything to change:
# web/dist must still be the same folder at the end. Prints each call and,
# per engine, the calls, the failures and the seconds a call took; exits 1
# on any failure and keeps each failing call's output and standard error.
# Not part of `make test`: the full run takes 30 to 50 minutes.
#
#   scripts/replay-side-by-side.sh [-n CALLS] [-j AT_ONCE] [-t LIMIT] [-s STEPS] [ENGINE...]
#       CALLS 300, AT_ONCE 3, LIMIT 600 s a call (for a hang only),
#       ENGINE any of web, web-firefox, web-webkit (all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
calls=300 at_once=3 limit=600 steps=
while getopts n:j:t:s: o; do
  case $o in
    n) calls=$OPTARG ;; j) at_once=$OPTARG ;; t) limit=$OPTARG ;; s) steps=$OPTARG ;;
    *) sed -n '13,15p' "$0" >&2; exit 64 ;;
  esac
done
shift $((OPTIND - 1))
engines=("$@")
[ ${#engines[@]} -gt 0 ] || engines=(web web-firefox web-webkit)
unset PETCALC_REPLAY_NO_BUILD

work=$(mktemp -d "${TMPDIR:-/tmp}/petcalc-side-by-side.XXXXXX")
if [ -n "$steps" ]; then cp "$steps" "$work/steps.jsonl"
else awk '/^\{"case"/ { n++ } n == 1 && /"op"/' "$root/tests/scenarios/holds.jsonl" >"$work/steps.jsonl"
fi
"$root/scripts/replay.sh" core <"$work/steps.jsonl" >"$work/reference"
bash "$root/scripts/web.sh" build
dist() { stat -c '%i %Y' "$root/web/dist" "$root/web/dist/sw.js"; }
before=$(dist)

# The busy core: a grandchild, so that `wait` below waits for the calls only.
busy=$(sh -c 'while :; do :; done' >/dev/null 2>&1 & echo $!)
trap 'kill "$busy" 2>/dev/null || true' EXIT

call() {  # ENGINE NUMBER: one line to $work/results (shorter than an atomic append)
  local name=$work/$1-$2 status=0 start end why=
  start=$(date +%s.%N)
  timeout -k 10 "$limit" "$root/scripts/replay.sh" "$1" <"$work/steps.jsonl" >"$name.out" 2>"$name.err" || status=$?
  end=$(date +%s.%N)
  if [ "$status" -eq 124 ]; then why="no answer within $limit s"
  elif [ "$status" -ne 0 ]; then why="exit $status: $(head -n 1 "$name.err")"
  elif ! cmp -s "$work/reference" "$name.out"; then why="output differs from the reference"
  fi
  [ -n "$why" ] || rm -f "$name.out" "$name.err"
  local line
  line=$(awk -v e="$1" -v n="$2" -v a="$start" -v b="$end" -v w="$why" \
    'BEGIN { printf "%s %s %.1f %s\n", e, n, b - a, w == "" ? "ok" : "FAILED " w }')
  echo "$line" >>"$work/results"
  echo "$line"
}

active=0
for ((i = 1; i <= calls; i++)); do
  for e in "${engines[@]}"; do
    call "$e" "$i" &
    active=$((active + 1))
    if [ "$active" -ge "$at_once" ]; then wait -n || true; active=$((active - 1)); fi
  done
done
wait

echo "engine       calls  failed  seconds a call: least  median  most"
for e in "${engines[@]}"; do
  awk -v e="$e" '$1 == e' "$work/results" | sort -k3,3n | awk -v e="$e" '
    { t[NR] = $3; if ($4 != "ok") bad++ }
    END { printf "%-12s %5d  %6d  %20.1f  %6.1f  %4.1f\n", e, NR, bad, t[1], t[int((NR + 1) / 2)], t[NR] }'
done
failed=$(grep -vc ' ok$' "$work/results" || true)
status=0
if [ "$(dist)" != "$before" ]; then
  echo "web/dist was laid out again, though nothing had changed"
  status=1
fi
if [ "$failed" -gt 0 ]; then
  echo "$failed calls failed; their output and standard error: $work"
  status=1
else
  rm -rf "$work"
fi
exit "$status"
