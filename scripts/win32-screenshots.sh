#!/usr/bin/env bash
# Screenshots of the Windows program's two windows under Wine, at 96 and 144
# dpi: Form1 after the first worked example's "确定", and Form2, in Wine's
# desktop (scripts/win32.sh), with none of the machine's fonts: every CJK
# character inside the windows is drawn with the program's own font, or
# shows as a box.
#
# Usage: scripts/win32-screenshots.sh [OUT_DIR]      (build/win/shots)
# Writes form1-96.png, form2-96.png, form1-144.png, form2-144.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/win/shots}
exe=$root/build/win/tests/win32/petcalc-replay-win32.exe
(cd "$root" && { [ -f build/win/CMakeCache.txt ] || cmake --preset win >/dev/null; } &&
   cmake --build build/win --target petcalc-replay-win32 >/dev/null)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The first case's steps up to its first "确定" (the file opens with a header
# and the case's title).
sed -n 3,21p "$root/tests/scenarios/worked_examples.jsonl" >"$work/form1.jsonl"
{ cat "$work/form1.jsonl"; echo '{"op":"click","control":"Command25"}'; } >"$work/form2.jsonl"

for dpi in 96 144; do
  for shot in form1 form2; do
    rm -f "$work/rects" "$work/screen.xwd"
    # The windows stay up for a while after the last step; the screen is
    # copied once they have been placed and painted.
    XVFB_ARGS="-fbdir $work" bash "$root/scripts/win32.sh" --dpi "$dpi" --no-system-fonts --session \
      bash -c 'wine "$1" --show 8000 <"$2/$3.jsonl" >/dev/null 2>"$2/rects" &
               for _ in $(seq 100); do [ -s "$2/rects" ] && break; sleep 0.2; done
               sleep 1.5
               cp "$2/Xvfb_screen0" "$2/screen.xwd"
               wait' _ "$exe" "$work" "$shot"
    title=Form1
    [ "$shot" = form2 ] && title=BB成长列表
    read -r left top right bottom < <(awk -v t="$title" '$1 == t { print $2, $3, $4, $5 }' "$work/rects")
    python3 "$root/scripts/xwd2png.py" "$work/screen.xwd" "$out/$shot-$dpi.png" "$left" "$top" "$right" "$bottom"
    echo "$out/$shot-$dpi.png"
  done
done
