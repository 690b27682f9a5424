#!/bin/sh
# Processor time the program uses in a real X window (Xvfb, 1280 x 720 screen) at the first
# briefing and then in play, standing still, for a baseline program and the program under test
# in the same run: CPU ticks of the whole process (the GL driver's threads included) over 3 s
# each.
# Usage: bench/briefing-cpu.sh BASELINE_PROGRAM PROGRAM
set -eu
if [ "${BRIEFING_CPU_INSIDE:-}" != 1 ]; then
  export BRIEFING_CPU_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$@"
fi
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
for program in "$@"; do
  data=$(mktemp -d)
  XDG_DATA_HOME="$data" "$program" -quit 12000 >/dev/null 2>&1 &
  pid=$!
  sleep 2
  a=$(ticks "$pid")
  sleep 3
  b=$(ticks "$pid")
  window=$(xdotool search --onlyvisible --name "^Sanguor$" | head -n 1)
  xdotool windowfocus --sync "$window" key space
  sleep 1
  c=$(ticks "$pid")
  sleep 3
  d=$(ticks "$pid")
  wait "$pid" || true
  rm -rf "$data"
  echo "$program: briefing $(( (b - a) * 100 / (3 * hz) ))%, play $(( (d - c) * 100 / (3 * hz) ))% of one core"
done
