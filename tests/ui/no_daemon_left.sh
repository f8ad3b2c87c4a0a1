#!/usr/bin/env bash
# Starts the program on a display with no session bus and checks that it
# leaves no D-Bus or accessibility daemon behind when it ends.
set -u
exe=$1
daemons() { pgrep -f 'dbus-launch --autolaunch|dbus-daemon .*--session|at-spi-bus-launcher|at-spi2-registryd' | sort; }
before=$(daemons)
env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 800x600x24" bash -c "'$exe' & p=\$!; sleep 2; kill \$p; wait \$p" >/dev/null 2>&1
sleep 0.5
after=$(daemons)
new=$(comm -13 <(echo "$before") <(echo "$after") | sed '/^$/d')
if [ -n "$new" ]; then
  echo "left behind:"; for p in $new; do ps -o pid=,args= -p "$p"; kill "$p" 2>/dev/null; done
  exit 1
fi
echo "no daemon left behind"
