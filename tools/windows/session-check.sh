#!/bin/bash
# The game in a window, minimised, then the Windows session ending under it: the probe measures
# the processor time it takes at rest and plays WM_QUERYENDSESSION/WM_ENDSESSION to its windows.
#   session-check.sh WINE_PREFIX PROBE PROGRAM
# The player is a user of its own, so the settings file the probe watches is this test's alone.
set -euo pipefail
prefix=$1 probe=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
export USER=sanguor-session WINEPREFIX=$prefix

"$here/wine-run.sh" "$prefix" cmd /c exit 0
data="$prefix/drive_c/users/$USER/AppData/Local/Nightshade Forge/Sanguor"
rm -f "$data/settings.ini"
status=0
ALSOFT_DRIVERS=null "$here/wine-run.sh" "$prefix" "$probe" \
  "C:\\users\\$USER\\AppData\\Local\\Nightshade Forge\\Sanguor\\settings.ini" \
  "$(winepath -w "$program" 2>/dev/null)" -level 1 || status=$?
wineserver -k 2>/dev/null || true
[ "$status" -eq 0 ] || exit 1
grep -q '^Width=' "$data/settings.ini"
