#!/usr/bin/env bash
# Runs a console program natively and from both cross builds (node, Wine)
# with the same arguments and standard input, and fails unless the three
# outputs and exit codes are identical, byte for byte. Used by the tests
# that cmake/cross.cmake's petcalc_cross_test adds.
#
# Usage: scripts/cross-compare.sh NATIVE_EXE TARGET INPUT_FILE|"" [ARG...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
native=$1 target=$2 input=${3:-/dev/null}
shift 3
[ -n "$input" ] || input=/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for kind in native wasm win; do
  if [ "$kind" = native ]; then
    timeout -k 5 600 "$native" "$@" <"$input" >"$work/$kind.out" 2>"$work/$kind.err"
  else
    bash "$here/cross-run.sh" "$kind" "$target" "$@" <"$input" >"$work/$kind.out" 2>"$work/$kind.err"
  fi
  echo $? >"$work/$kind.rc"
done

failed=0
for kind in wasm win; do
  if ! cmp -s "$work/native.out" "$work/$kind.out"; then
    echo "$target: $kind output differs from native:"
    diff -u --label native --label "$kind" "$work/native.out" "$work/$kind.out" | head -40
    sed 's/^/  stderr: /' "$work/$kind.err" | head -10
    failed=1
  fi
  if ! cmp -s "$work/native.rc" "$work/$kind.rc"; then
    echo "$target: exit code native $(cat "$work/native.rc"), $kind $(cat "$work/$kind.rc")"
    failed=1
  fi
done
[ "$failed" -eq 0 ] &&
  echo "$target: native, wasm and win: $(wc -c <"$work/native.out") bytes, identical; exit code $(cat "$work/native.rc")"
exit "$failed"
