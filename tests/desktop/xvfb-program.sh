#!/bin/sh
# The real program in a real X window on a screen with a single 1920 x 1080 mode:
#   - the window opens at the settings' 1280 x 720, centred, though no such mode is listed;
#   - at the briefing the process rests: it uses at most half a core;
#   - after an Alt+Tab that switched nowhere (no window manager) keys reach the game again;
#   - F11 and Alt+Enter switch to fullscreen and back during the briefing, the picture shown
#     and the choice kept in the settings;
#   - fullscreen falls back to the desktop's mode, shows the briefing letterboxed, and the
#     settings keep the player's size.
# Usage: tests/desktop/xvfb-program.sh PROGRAM_FOLDER [on|off: check the processor use]
set -eu

bin=$(cd "${1:-build/bin}" && pwd)
cpu_check=${2:-on}
if [ "${XVFB_PROGRAM_INSIDE:-}" != 1 ]; then
  for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
  done
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XVFB_PROGRAM_INSIDE=1 XVFB_PROGRAM_WORK="$work"
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$bin" "$cpu_check"
fi

work=$XVFB_PROGRAM_WORK
failed=0
ok() { echo "ok: $1"; }
bad() { echo "FAILED: $1"; failed=1; }

# Waits up to $2 tenths of a second for the command $1 to succeed.
poll() {
  n=0
  while ! eval "$1" >/dev/null 2>&1; do
    n=$((n + 1))
    [ "$n" -ge "$2" ] && return 1
    sleep 0.1
  done
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# The briefing as a headless run draws it at 1280 x 720: what a picture of the game must show.
mkdir -p "$work/reference"
XDG_DATA_HOME="$work/reference" "$bin/sanguor" -headless -shot 1000 -quit 1100 >/dev/null 2>&1
reference="$work/reference/Nightshade Forge/Sanguor/screenshots/screenshot1.bmp"
# shows_briefing PICTURE: the picture, scaled to 1280 x 720, is the briefing (a black or
# misplaced picture differs by far more than scaling does).
shows_briefing() {
  difference=$(convert "$1" -resize '1280x720!' "$work/scaled.png" &&
    compare -metric RMSE "$reference" "$work/scaled.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  awk -v d="${difference:-1}" 'BEGIN { exit !(d < 0.08) }'
}

# --- Windowed, from a working folder that is not the program's.
export XDG_DATA_HOME="$work/data"
cd "$work"
"$bin/sanguor" -record "$work/keys.txt" >"$work/out1" 2>&1 &
pid=$!
# A loaded machine may take many seconds to start the program; the checks wait for it.
if poll 'xdotool search --onlyvisible --name "^Sanguor$"' 600; then
  window=$(xdotool search --onlyvisible --name "^Sanguor$" | head -n 1)
  geometry=$(xdotool getwindowgeometry "$window" | tr '\n' ' ')
  case "$geometry" in
    *"Position: 320,180"*"Geometry: 1280x720"*) ok "a 1280 x 720 window centred on a screen without that mode" ;;
    *) bad "window: $geometry" ;;
  esac
  # The briefing: nothing moves, the loop waits for the next frame.
  sleep 1
  hz=$(getconf CLK_TCK)
  before=$(cpu_ticks "$pid")
  sleep 2
  after=$(cpu_ticks "$pid")
  used=$((after - before))
  if [ "$cpu_check" != on ]; then
    echo "not checked: $used ticks of CPU in 2 s at the briefing"
  elif [ "$used" -le "$hz" ]; then
    ok "at the briefing: $used ticks of CPU in 2 s (at most $hz)"
  else
    bad "at the briefing: $used ticks of CPU in 2 s, more than half a core ($hz)"
  fi
  # Alt+Tab with no window manager switches nowhere; the game must hear the next key.
  xdotool windowfocus --sync "$window"
  xdotool key alt+Tab
  poll 'grep -q " Left Alt 100" "$work/keys.txt"' 300 || true
  xdotool key e
  if poll 'grep -q " E 100" "$work/keys.txt"' 300; then
    ok "a key after an Alt+Tab that switched nowhere reaches the game"
  else
    bad "no key after Alt+Tab: $(tr '\n' '|' <"$work/keys.txt")"
  fi
  # The fullscreen key, in either form, switches at the briefing and back.
  settings="$work/data/Nightshade Forge/Sanguor/settings.ini"
  for key in F11 alt+Return; do
    xdotool windowfocus --sync "$window"
    xdotool key "$key"
    if poll 'xdotool getwindowgeometry "$window" | grep -q "Geometry: 1920x1080"' 100 &&
      poll 'grep -q "^Fullscreen=Yes" "$settings"' 50; then
      ok "$key: fullscreen, kept in the settings"
    else
      bad "$key: $(xdotool getwindowgeometry "$window" | tr '\n' ' ') $(grep Fullscreen "$settings")"
    fi
    sleep 1
    import -window root "$work/full.png"
    shows_briefing "$work/full.png" && ok "$key: the briefing fills the screen (difference $difference)" ||
      bad "$key: the fullscreen picture is not the briefing ($difference)"
    xdotool key "$key"
    if poll 'xdotool getwindowgeometry "$window" | grep -q "Geometry: 1280x720"' 100 &&
      poll 'grep -q "^Fullscreen=No" "$settings"' 50; then
      ok "$key again: back to the 1280 x 720 window"
    else
      bad "$key again: $(xdotool getwindowgeometry "$window" | tr '\n' ' ') $(grep Fullscreen "$settings")"
    fi
  done
else
  bad "no window: $(cat "$work/out1")"
fi
# SIGTERM, as when the desktop session ends: the game closes through its clean-up.
kill -TERM "$pid" 2>/dev/null || true
wait "$pid" || bad "windowed run ended with $?"
grep -q "^Width=1280" "$work/data/Nightshade Forge/Sanguor/settings.ini" && ok "settings keep 1280" ||
  bad "settings: $(cat "$work/data/Nightshade Forge/Sanguor/settings.ini")"

# --- Fullscreen: the desktop's own mode, the settings' size kept for the next windowed run.
printf '[Video]\r\nWidth=1280\r\nHeight=720\r\nBPP=32\r\nFullscreen=Yes\r\n' \
  >"$work/data/Nightshade Forge/Sanguor/settings.ini"
"$bin/sanguor" -shot 5000 -quit 5500 >"$work/out2" 2>&1 || bad "fullscreen run ended with $?"
shot="$work/data/Nightshade Forge/Sanguor/screenshots/screenshot1.bmp"
if [ -f "$shot" ] && [ "$(identify -format '%wx%h' "$shot")" = 1920x1080 ]; then
  ok "fullscreen fills the 1920 x 1080 desktop"
else
  bad "fullscreen screenshot: $(identify "$shot" 2>&1) $(cat "$work/out2")"
fi
if [ -f "$shot" ] && shows_briefing "$shot"; then
  ok "fullscreen from the start shows the briefing (difference $difference)"
else
  bad "fullscreen from the start does not show the briefing ($difference)"
fi
settings="$work/data/Nightshade Forge/Sanguor/settings.ini"
if grep -q "^Width=1280" "$settings" && grep -q "^Fullscreen=Yes" "$settings"; then
  ok "the settings keep 1280 x 720 fullscreen"
else
  bad "settings after fullscreen: $(cat "$settings")"
fi
exit "$failed"
