#!/usr/bin/env bash
# Screenshots of the real program under a virtual X display.
# Usage: scripts/screenshot.sh BUILD_DIR OUT.png [scale]
set -euo pipefail
build=${1:-build/default}; out=${2:-docs/screenshot-form1.png}; scale=${3:-1}
export QT_SCALE_FACTOR=$scale DBUS_SESSION_BUS_ADDRESS=disabled: QT_ACCESSIBILITY=0
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
  '$build/app/petcalc' & pid=\$!
  sleep 2
  import -window root '$out'
  kill \$pid"
