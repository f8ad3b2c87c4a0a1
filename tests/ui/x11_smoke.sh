#!/usr/bin/env bash
# The program on the real X11 platform, on a virtual display with no
# session bus: its window must map, and once it is ended it must leave no
# D-Bus or accessibility daemon behind. It is ended as soon as its window
# is viewable: by then it has done all its start-up, however long that took.
#   x11_smoke.sh PETCALC
set -u
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = --on-display ]; then  # inside the virtual display
  "$2" & program=$!
  until id=$(xwininfo -root -children | awk '/\("petcalc" "petcalc"\)/ { print $1; exit }') &&
        [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable; do
    kill -0 $program 2>/dev/null || { echo "the program ended before its window was mapped"; exit 1; }
    sleep 0.1
  done
  kill $program
  wait $program
  exit 0
fi

daemons() { pgrep -f 'dbus-launch --autolaunch|dbus-daemon .*--session|at-spi-bus-launcher|at-spi2-registryd' | sort; }
before=$(daemons)
env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb \
  bash "$here/../../scripts/xvfb.sh" -s "-screen 0 800x600x24" bash "$0" --on-display "$1" || exit 1
new=$(comm -13 <(echo "$before") <(daemons) | sed '/^$/d')
if [ -n "$new" ]; then
  echo "left behind:"; for p in $new; do ps -o pid=,args= -p "$p"; kill "$p" 2>/dev/null; done
  exit 1
fi
echo "the window mapped on X11; no daemon left behind"
