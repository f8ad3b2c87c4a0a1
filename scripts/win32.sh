#!/usr/bin/env bash
# Runs programs of the Windows build (build/win) under Wine with windows: a
# prefix of its own for them, build/win/wine-gui (made the first time, about
# 20 s), Wine's debug output off, no prompts for Mono or Gecko, and a virtual
# X display, since a Wine program with windows and no display hangs instead
# of failing. The windows live in a Wine desktop the size of the display,
# where Wine draws their frames itself: no window manager runs there, and
# without one Wine waits two seconds for it whenever a window is hidden (a
# message box closing, say). One session at a time uses the prefix.
#
#   scripts/win32.sh [OPTION...] EXE [ARG...]
#       one program in a session of its own, under a time limit
#       (RUN_TIMEOUT seconds, 300); its exit code is the program's
#   scripts/win32.sh [OPTION...] --session COMMAND [ARG...]
#       a command (a test runner, a script) in one session: every program it
#       starts through this script shares the display and the Wine server
#
# Every limit here is for a hang: each wait is on its condition (a program
# or the Wine server ending), however long a busy machine takes.
#
# Options, for the session: --dpi N sets the screen's DPI (LogPixels, 96
# unless given); --no-system-fonts hides the machine's fonts from Wine, which
# then has its own (fonts-wine: Latin, Greek, Cyrillic, no CJK) and what a
# program brings; --no-desktop puts the windows on the display itself, as
# top-level X windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
dpi=96 fonts=system desktop='"Default"'
while [ $# -gt 0 ]; do
  case $1 in
    --dpi) dpi=$2; shift 2 ;;
    --no-system-fonts) fonts=none; shift ;;
    --no-desktop) desktop=-; shift ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { sed -n '2,25p' "$0" >&2; exit 64; }

export WINEPREFIX=$build/wine-gui WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Inside a session: run it on the session's display and server. Wine's
# helper processes keep the standard error they inherit open for seconds
# after the program has ended, and a caller reading it to its end would wait
# for them: the program's errors come through a file.
if [ -n "${PETCALC_WINE_SESSION:-}" ] && [ "$1" != --session ]; then
  errors=$(mktemp)
  status=0
  timeout -k 5 "${RUN_TIMEOUT:-300}" wine "$@" 2>"$errors" || status=$?
  cat "$errors" >&2
  rm -f "$errors"
  exit "$status"
fi

mkdir -p "$build"
exec 9>"$build/.wine-gui.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout -k 5 600 wineboot -i >/dev/null 2>&1 || { echo "win32.sh: wineboot failed" >&2; exit 1; }
  timeout 600 wineserver -w || { echo "win32.sh: the Wine server did not end after wineboot" >&2; exit 1; }
fi
if [ "$fonts" = none ]; then
  printf '<?xml version="1.0"?>\n<fontconfig><dir>/usr/share/wine/fonts</dir></fontconfig>\n' >"$build/no-fonts.conf"
  export FONTCONFIG_FILE=$build/no-fonts.conf
fi

session=$(mktemp) settings=$(mktemp --suffix=.reg)
trap 'rm -f "$session" "$settings"' EXIT
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n' "$dpi" >"$settings"
printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"=%s\n\n' "$desktop" >>"$settings"
printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1280x1024"\n' >>"$settings"
if [ "$1" = --session ]; then
  shift
  printf '%q ' "$@" >"$session"
else
  printf 'timeout -k 5 %q wine ' "${RUN_TIMEOUT:-300}" >"$session"
  printf '%q ' "$@" >>"$session"
fi
# The DPI is read by each program as it starts; the Wine server goes with
# the display it was started under, so the session waits for it to end.
status=0
bash "$root/scripts/xvfb.sh" -s "-screen 0 1280x1024x24 ${XVFB_ARGS:-}" bash -c '
  wine regedit /S "$(winepath -w "$1")" >/dev/null 2>&1
  # The next program starts with these settings, in a desktop of their
  # kind, only once this server has ended.
  timeout 600 wineserver -w || { echo "win32.sh: the Wine server did not end after regedit" >&2; exit 1; }
  export PETCALC_WINE_SESSION=1
  status=0
  bash "$2" || status=$?
  [ "$status" -eq 124 ] && wineserver -k
  timeout 600 wineserver -w || wineserver -k
  exit "$status"' session "$settings" "$session" || status=$?
exit "$status"
