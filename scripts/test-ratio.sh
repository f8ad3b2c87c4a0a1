#!/usr/bin/env bash
# How much of the code is tests, in non-blank lines (comment lines count,
# blank lines do not): tests as a share of all code, tests / (tests +
# product).
#
#   scripts/test-ratio.sh               the whole working tree
#   scripts/test-ratio.sh --since REV   only the lines added since REV (from
#                                       its merge base with HEAD to the
#                                       working tree, new files included)
#
# Tests: tests/ (the fuzz harnesses in tests/fuzz shown apart as well) and
# headless/, the reference front end the tests hold the others against;
# also packaging/tests/, which checks the
# package, and cmake/cross.cmake with cmake/binary_stdio.cpp, which exist
# only to build and run the headless programs on the other targets.
# Product: core/, ui/, app/, win32/, web/; and what builds and ships them:
# fonts/ (the font the windows carry), the rest of packaging/, the rest of
# cmake/ (toolchains, host headers), the top-level CMakeLists.txt and
# Makefile. Apart, counted in neither and reported on their own: bench/ and
# scripts/ (tools to build, run, replay, mutate and measure). Code is any
# source, script or build file (C++, Python, JavaScript, shell, CMake, HTML,
# CSS, resource scripts, and files that start with "#!"); scenario data,
# corpora, dictionaries, images, package lists and documents are not.
set -euo pipefail
cd "$(dirname "$0")/.."

since=""
case "${1:-}" in
  --since) since=${2:?usage: test-ratio.sh [--since REV]} ;;
  "") ;;
  *) echo "usage: test-ratio.sh [--since REV]" >&2; exit 64 ;;
esac

# The part a path belongs to: product, test, fuzz (a test), bench,
# scripts, or nothing.
part() {
  local path=$1 area
  case "$path" in
    tests/fuzz/*) area=fuzz ;;
    tests/* | headless/* | packaging/tests/*) area=test ;;
    cmake/cross.cmake | cmake/binary_stdio.cpp) area=test ;;
    bench/*) area=bench ;;
    scripts/*) area=scripts ;;
    core/* | ui/* | app/* | web/* | win32/* | fonts/* | packaging/* | cmake/*) area=product ;;
    CMakeLists.txt | Makefile) area=product ;;
    *) return 1 ;;
  esac
  case "${path##*/}" in
    CMakeLists.txt | Makefile | *.mk) ;;
    *.cpp | *.cc | *.cxx | *.c | *.h | *.hh | *.hpp | *.hxx | *.py | *.js | *.mjs | *.cjs | *.ts) ;;
    *.sh | *.bash | *.ps1 | *.bat | *.cmd | *.cmake | *.html | *.css | *.rc) ;;
    *.* )
      # Other named types are data, unless a script's template (*.in).
      [[ $path == *.in && -f $path ]] && head -c 2 "$path" | grep -q '^#!' || return 1 ;;
    *) [ -f "$path" ] && head -c 2 "$path" | grep -q '^#!' || return 1 ;;
  esac
  echo "$area"
}

declare -A lines=([product]=0 [test]=0 [fuzz]=0 [bench]=0 [scripts]=0)
declare -A product_areas=() test_areas=()

add() {  # part, top directory, count
  lines[$1]=$((lines[$1] + $3))
  case $1 in
    product) product_areas[$2]=$((${product_areas[$2]:-0} + $3)) ;;
    test | fuzz) test_areas[$2]=$((${test_areas[$2]:-0} + $3)) ;;
  esac
  return 0
}

top() { case "$1" in */*) echo "${1%%/*}/" ;; *) echo "$1" ;; esac; }

if [ -z "$since" ]; then
  while IFS= read -r f; do
    [ -f "$f" ] || continue
    p=$(part "$f") || continue
    add "$p" "$(top "$f")" "$(grep -c '[^[:space:]]' "$f" || true)"
  done < <(git ls-files --cached --others --exclude-standard)
  heading="Non-blank lines in the working tree"
else
  base=$(git merge-base "$since" HEAD)
  # Added non-blank lines per file, from the diff of the tracked files...
  while read -r count f; do
    p=$(part "$f") || continue
    add "$p" "$(top "$f")" "$count"
  done < <(git diff -U0 --no-color --no-renames --no-ext-diff "$base" -- |
           awk '/^diff --git /{ head = 1; f = ""; next }
                head && /^\+\+\+ /{ head = 0; if ($0 ~ /^\+\+\+ b\//) f = substr($0, 7); next }
                head { next }
                /^\+/ && f != "" && substr($0, 2) ~ /[^[:space:]]/ { n[f]++ }
                END { for (k in n) print n[k], k }')
  # ...and the whole of every new file git does not know yet.
  while IFS= read -r f; do
    p=$(part "$f") || continue
    add "$p" "$(top "$f")" "$(grep -c '[^[:space:]]' "$f" || true)"
  done < <(git ls-files --others --exclude-standard)
  heading="Non-blank lines added since $since (merge base ${base:0:10})"
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f%%", 100 * a / b; else print "n/a" }'; }

tests=$((lines[test] + lines[fuzz]))

# "(core/ 1174, ui/ 546)" of an associative array's name.
breakdown() {
  local -n counts=$1
  local a first=1
  [ ${#counts[@]} -gt 0 ] || return 0
  printf '   ('
  for a in $(printf '%s\n' "${!counts[@]}" | sort); do
    [ $first -eq 1 ] || printf ', '
    printf '%s %d' "$a" "${counts[$a]}"
    first=0
  done
  printf ')'
}

echo "$heading; comment lines count, blank lines do not:"
printf '  product code  %7d%s\n' "${lines[product]}" "$(breakdown product_areas)"
printf '  test code     %7d%s, fuzz harnesses %d\n' "$tests" "$(breakdown test_areas)" "${lines[fuzz]}"
printf '  bench         %7d   (in neither)\n' "${lines[bench]}"
printf '  scripts       %7d   (in neither)\n' "${lines[scripts]}"
printf '  tests / all code: %s (tests / (tests + product); at most 40%%, heading for a third)\n' \
  "$(ratio "$tests" $((tests + lines[product])))"
