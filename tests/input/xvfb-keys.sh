#!/bin/sh
# Real keyboard and mouse input in a real X window: runs the input probe under Xvfb, sends keys
# and mouse events with xdotool, and checks the controls and actions the probe reports.
# Usage: tests/input/xvfb-keys.sh [path of input_key_probe]
set -eu

probe=${1:-build/bin/input_key_probe}
if [ "${XVFB_KEYS_INSIDE:-}" != 1 ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_DATA_HOME="$work/data" XVFB_KEYS_OUT="$work/out" XVFB_KEYS_INSIDE=1
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$probe"
  failed=0
  expect() {
    if grep -qx "$1" "$work/out"; then echo "ok: $1"; else echo "MISSING: $1"; failed=1; fi
  }
  refuse() {
    if grep -q "$1" "$work/out"; then echo "UNEXPECTED: $1"; failed=1; else echo "ok: no $1"; fi
  }
  expect "control 32 100 E"
  expect "action Bite 100"
  expect "action Bite 0"
  expect "control 92 100 Page Up"
  expect "control 81 100 Numpad 9"
  expect "control 83 100 Numpad Enter"
  expect "control 73 100 Numpad 1"
  expect "control 102 100 Right Shift"
  expect "control 28 100 Right Control"
  expect "control 114 100 Mouse Left Button"
  expect "control 114 0 Mouse Left Button"
  expect "control 125 100 Mouse Scroll Up"
  expect "control 124 100 Mouse Scroll Down"
  expect "control 12 100 Left Alt"
  expect "keyboard hook off"
  expect "done"
  # A held key repeats in the window but reaches the set once.
  presses=$(grep -c "control 29 100 D" "$work/out" || true)
  repeats=$(grep -c "repeat 68" "$work/out" || true)
  if [ "$presses" = 1 ] && [ "$repeats" -gt 0 ]; then
    echo "ok: one press for a key held through $repeats repeats"
  else
    echo "HELD KEY: $presses presses, $repeats repeats"
    failed=1
  fi
  # Nothing for Print Screen and the Windows key; nothing typed after Alt+Tab.
  refuse "control 0 "
  refuse "control 11 100 A"
  if [ "$failed" != 0 ]; then
    echo "--- probe output"
    cat "$work/out"
  fi
  exit "$failed"
fi

# Inside the X server.
SDL_VIDEODRIVER=x11 "$probe" 30 >"$XVFB_KEYS_OUT" 2>&1 &
pid=$!
window=""
# Up to 30 s: on a loaded machine the X server and the probe's first window take their time.
for _ in $(seq 300); do
  window=$(xdotool search --name "Input Probe" 2>/dev/null | head -n 1 || true)
  if [ -n "$window" ] && grep -q ready "$XVFB_KEYS_OUT"; then break; fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "no ready probe window after 30 s"
  kill "$pid" 2>/dev/null || true
  exit 1
fi
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key --delay 60 e Prior KP_Prior KP_Enter KP_End Shift_R Control_R Print Super_L
xdotool keydown d
sleep 1
xdotool keyup d
xdotool mousemove --window "$window" 50 60 click 1 click 4 click 5
sleep 0.3
xdotool key alt+Tab
sleep 0.3
xdotool key a
sleep 0.3
xdotool key Escape
wait "$pid"
