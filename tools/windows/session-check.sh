#!/bin/bash
# The game in a window, minimised, then the Windows session ending under it: the probe plays
# WM_QUERYENDSESSION/WM_ENDSESSION to its windows, and this script measures the processor time
# the game takes while it plays and while it rests minimised (5 s; below 5 % of one core).
#   session-check.sh WINE_PREFIX PROBE PROGRAM
# The player is a user of its own, so the settings file the probe watches is this test's alone.
set -euo pipefail
prefix=$1 probe=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
export USER=sanguor-session WINEPREFIX=$prefix
rest_limit=5

"$here/wine-run.sh" "$prefix" cmd /c exit 0
data="$prefix/drive_c/users/$USER/AppData/Local/Nightshade Forge/Sanguor"
rm -f "$data/settings.ini"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ALSOFT_DRIVERS=null "$here/wine-run.sh" "$prefix" "$probe" \
  "C:\\users\\$USER\\AppData\\Local\\Nightshade Forge\\Sanguor\\settings.ini" \
  "$(winepath -w "$program" 2>/dev/null)" -level 1 >"$log" &
probe_pid=$!

# The game is the Linux process Wine runs sanguor.exe in, in this prefix (whose other users wait
# for this test to end).
game_pid() {
  local pid
  for pid in $(pgrep -x sanguor.exe || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid" && return
  done
}
# Processor time in clock ticks, every thread of the process together.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
wait_for() { for _ in $(seq 1 600); do grep -q "^$1" "$log" && return 0; sleep 0.1; done; return 1; }
percent() { awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.2f", t / hz / s * 100}'; }

verdict=ok
if wait_for playing && pid=$(game_pid) && [ -n "$pid" ]; then
  start=$(ticks "$pid")
  sleep 1.8
  played=$(( $(ticks "$pid") - start ))
  wait_for minimised
  sleep 1.5
  start=$(ticks "$pid")
  sleep 5
  rested=$(( $(ticks "$pid") - start ))
  echo "processor time while playing: $(percent "$played" 1.8) % of one core over 1.8 s"
  echo "processor time while minimised: $(percent "$rested" 5) % of one core over 5 s"
  awk -v p="$(percent "$rested" 5)" -v l="$rest_limit" 'BEGIN {exit !(p < l)}' || verdict="the minimised game does not rest"
  [ "$played" -gt 0 ] || verdict="no processor time measured while playing"
else
  verdict="the game did not start"
fi
status=0
wait "$probe_pid" || status=$?
wineserver -k 2>/dev/null || true
tr -d "\r" <"$log"
[ "$status" -eq 0 ] || verdict="the probe failed"
grep -q '^Width=' "$data/settings.ini" 2>/dev/null || verdict="no settings written"
echo "$verdict"
[ "$verdict" = ok ]
