#!/usr/bin/env bash
# Renders packaging/icons/petcalc.svg to the PNG sizes of the hicolor icon
# theme, packaging/icons/<N>x<N>/petcalc.png. The PNGs are committed, so a
# build needs no SVG renderer; run this after changing the SVG and commit
# the result. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
src=packaging/icons/petcalc.svg

if ! command -v rsvg-convert >/dev/null; then
  echo "rsvg-convert not found: apt-get install librsvg2-bin" >&2
  exit 1
fi

for n in 16 24 32 48 64 128 256; do
  dir=packaging/icons/${n}x${n}
  mkdir -p "$dir"
  rsvg-convert --width "$n" --height "$n" --format png --output "$dir/petcalc.png.tmp" "$src"
  mv "$dir/petcalc.png.tmp" "$dir/petcalc.png"
  echo "$dir/petcalc.png"
done

# Smaller files, same pixels, when optipng is at hand.
if command -v optipng >/dev/null; then
  optipng -quiet -o7 -strip all packaging/icons/*x*/petcalc.png
fi
