#!/usr/bin/env bash
# Screenshots of both windows from the real program under a virtual X
# display, at the given scale factors. Usage: scripts/screenshots.sh BUILD OUTDIR [SCALE...]
# As on a machine without any font: FONTCONFIG_FILE=BUILD/tests/no-fonts/fonts.conf
set -euo pipefail
build=${1:-build/default}; out=${2:-docs}; shift 2 || true
scales=("${@:-1}")
for s in "${scales[@]}"; do
  dir="$out"; [ "$s" = 1 ] || dir="$out/scale-$s"
  QT_SCALE_FACTOR=$s QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: QT_ACCESSIBILITY=0 \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/tests/petcalc-shots" "$dir"
done
