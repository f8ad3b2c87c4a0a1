#!/usr/bin/env bash
# Starts the program on a display with no session bus and checks that it
# leaves no D-Bus or accessibility daemon behind when it ends. The program
# is ended once its window is mapped: by then it has done all its start-up,
# however long that takes on a busy machine.
set -u
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
daemons() { pgrep -f 'dbus-launch --autolaunch|dbus-daemon .*--session|at-spi-bus-launcher|at-spi2-registryd' | sort; }
before=$(daemons)
env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb \
  bash "$root/scripts/xvfb.sh" -s "-screen 0 800x600x24" bash -c '
    "$1" & p=$!
    mapped() {  # the program'"'"'s top-level window (class petcalc) is viewable
      local id
      id=$(xwininfo -root -children | awk '"'"'/\("petcalc" "petcalc"\)/ { print $1; exit }'"'"')
      [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable
    }
    until mapped; do
      kill -0 $p 2>/dev/null || { echo "the program ended before its window was mapped" >&2; exit 1; }
      sleep 0.1
    done
    kill $p; wait $p
    exit 0' _ "$exe" >/dev/null || { echo "the program did not start"; exit 1; }
after=$(daemons)
new=$(comm -13 <(echo "$before") <(echo "$after") | sed '/^$/d')
if [ -n "$new" ]; then
  echo "left behind:"; for p in $new; do ps -o pid=,args= -p "$p"; kill "$p" 2>/dev/null; done
  exit 1
fi
echo "no daemon left behind"
