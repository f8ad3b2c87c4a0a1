#!/usr/bin/env bash
# Starts the program from a build folder, or says why it cannot.
set -euo pipefail
build=${1:-build/default}
exe="$build/app/petcalc"
if [ ! -x "$exe" ]; then
  echo "petcalc: the window is not built yet ($exe is missing)." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "petcalc: no display (neither DISPLAY nor WAYLAND_DISPLAY is set). On a machine without a screen, run it under a virtual display: xvfb-run -a $exe" >&2
  exit 1
fi
exec "$exe"
