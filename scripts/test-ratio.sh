#!/usr/bin/env bash
# How much test code there is against product code, in non-blank lines
# (comment lines count, blank lines do not).
#
#   scripts/test-ratio.sh               the whole working tree
#   scripts/test-ratio.sh --since REV   only the lines added since REV (from
#                                       its merge base with HEAD to the
#                                       working tree, new files included)
#
# Test code: code under tests/ (the fuzz harnesses in tests/fuzz counted
# apart as well) and under packaging/tests/. Product code: code in core/,
# ui/, app/, headless/, web/, win32/, fonts/, scripts/, packaging/ and
# cmake/, and the top-level CMakeLists.txt and Makefile. bench/ is reported
# on its own and counted in neither. Code is any source, script or build
# file (C++, Python, JavaScript, shell, CMake, HTML, CSS, resource scripts,
# and files that start with "#!"); scenario data, corpora, dictionaries,
# images, package lists and documents are not.
set -euo pipefail
cd "$(dirname "$0")/.."

since=""
case "${1:-}" in
  --since) since=${2:?usage: test-ratio.sh [--since REV]} ;;
  "") ;;
  *) echo "usage: test-ratio.sh [--since REV]" >&2; exit 64 ;;
esac

# The part a path belongs to: product, test, fuzz (a test), bench, or
# nothing.
part() {
  local path=$1 area
  case "$path" in
    tests/fuzz/*) area=fuzz ;;
    tests/* | packaging/tests/*) area=test ;;
    bench/*) area=bench ;;
    core/* | ui/* | app/* | headless/* | web/* | win32/* | fonts/* | scripts/* | packaging/* | cmake/*) area=product ;;
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

declare -A lines=([product]=0 [test]=0 [fuzz]=0 [bench]=0)
declare -A areas=()

add() {  # part, top directory, count
  lines[$1]=$((lines[$1] + $3))
  [ "$1" = product ] && areas[$2]=$((${areas[$2]:-0} + $3))
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
echo "$heading; comment lines count, blank lines do not:"
printf '  product code  %7d' "${lines[product]}"
if [ ${#areas[@]} -gt 0 ]; then
  printf '   ('
  first=1
  for a in $(printf '%s\n' "${!areas[@]}" | sort); do
    [ $first -eq 1 ] || printf ', '
    printf '%s %d' "$a" "${areas[$a]}"
    first=0
  done
  printf ')'
fi
printf '\n'
printf '  test code     %7d   (fuzz harnesses %d)\n' "$tests" "${lines[fuzz]}"
printf '  bench         %7d   (in neither)\n' "${lines[bench]}"
printf '  test / product: %s, without the fuzz harnesses %s\n' \
  "$(ratio "$tests" "${lines[product]}")" "$(ratio "${lines[test]}" "${lines[product]}")"
