#!/usr/bin/env bash
# Runs a command on a virtual X display of its own; the exit code is the
# command's. Xvfb picks a free display number itself (-displayfd) and writes
# it once it accepts connections, so nothing guesses a number or waits a
# fixed time: xvfb-run -a picks the number before the server has it, and two
# of them started together take the same one.
#
#   scripts/xvfb.sh [-s "SERVER ARGS"] COMMAND [ARG...]
#       SERVER ARGS default to "-screen 0 1280x1024x24"
set -euo pipefail
server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = -s ]; then server_args=$2; shift 2; fi
[ $# -gt 0 ] || { sed -n '2,9p' "$0" >&2; exit 64; }

log=$(mktemp)
# shellcheck disable=SC2086  # the server's arguments are words
coproc XVFB { exec Xvfb -displayfd 1 -nolisten tcp -noreset $server_args 2>"$log"; }
xvfb_pid=$XVFB_PID
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$log"' EXIT
trap 'exit 143' TERM INT HUP
# The read ends when the server writes its number, or with the pipe when it
# dies first: no deadline.
if ! read -r number <&"${XVFB[0]}"; then
  echo "xvfb.sh: Xvfb did not start:" >&2
  cat "$log" >&2
  exit 1
fi
export DISPLAY=:$number
unset XAUTHORITY
status=0
"$@" || status=$?
exit "$status"
