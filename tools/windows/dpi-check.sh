#!/bin/bash
# The game on a screen scaled to 150 % (Wine's LogPixels 144) in a 1920 x 1080 X display of its
# own, without Wine's virtual desktop, so each window is an X window the X tools can measure:
# the 1280 x 720 window and the fullscreen picture must have those sizes in physical pixels.
#   dpi-check.sh WINE_PREFIX PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside "$@"
fi
prefix=$2 program=$3
export USER=sanguor-dpi WINEPREFIX=$prefix
# The manifest, which makes the program aware of each monitor's scale, is a resource of the
# program (kept as its text).
if ! grep -q -a '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2' "$program"; then
  echo "$program carries no manifest declaring per-monitor awareness" >&2
  exit 1
fi

"$here/wine-run.sh" "$prefix" cmd /c exit 0
wineserver -k 2>/dev/null || true
desktop() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  if [ "$2" = on ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
  wineserver -w
}
game=
finish() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  wineserver -k 2>/dev/null || true
  desktop 96 on
}
trap finish EXIT
desktop 144 off

data="$prefix/drive_c/users/$USER/AppData/Local/Nightshade Forge/Sanguor"
failures=0
# measure NAME WIDTH HEIGHT: starts the game, reads its visible window's size, ends it.
measure() {
  ALSOFT_DRIVERS=null "$here/wine-run.sh" "$prefix" "$program" -level 1 >/dev/null 2>&1 &
  game=$!
  local window="" size=""
  for _ in $(seq 1 120); do
    window=$(xdotool search --onlyvisible --name '^Sanguor$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -n "$window" ]; then
    sleep 2
    size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  fi
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
  wineserver -k 2>/dev/null || true
  echo "$1 at 150 %: ${size:-no window} (wanted $2x$3)"
  [ "$size" = "$2x$3" ] || failures=$((failures + 1))
}

rm -rf "$data"
measure window 1280 720
mkdir -p "$data"
printf '[Video]\r\nWidth=1920\r\nHeight=1080\r\nBPP=32\r\nFullscreen=Yes\r\n' >"$data/settings.ini"
measure fullscreen 1920 1080
[ "$failures" -eq 0 ]
