#!/bin/sh
# Plays every level headless through its winning replay and keeps PNG screenshots of each
# level's briefing, a moment of play and the result screen: demo.sh BIN_FOLDER REPLAY_FOLDER
# CONTENT_FOLDER OUT_FOLDER. Exit code 1 when a level is not won.
set -eu
bin=$(cd "$1" && pwd)
replays=$(cd "$2" && pwd)
content=$(cd "$3" && pwd)
mkdir -p "$4"
out=$(cd "$4" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Playing every level headless through its replay; screenshots go to $out"
level=1
while [ -f "$replays/Map$level-win.replay" ]; do
    replay="$replays/Map$level-win.replay"
    end=$(sed -n 's/^# Ends: \([0-9]*\) won$/\1/p' "$replay")
    if [ -z "$end" ]; then
        echo "Level $level: $replay names no winning time" >&2
        exit 1
    fi
    home="$work/level$level"
    # The briefing, play shortly before the level is won, and the result screen.
    (cd "$bin" && XDG_DATA_HOME="$home" ./sanguor -headless -seed 1 -level "$level" -replay "$replay" \
        -shot "250,$((end - 700)),$((end + 2000))" -quit "$((end + 2500))" >/dev/null 2>&1) || true
    shots="$home/Nightshade Forge/Sanguor/screenshots"
    result=$("$bin/resultshot" "$shots/screenshot3.bmp" "$content" 2>/dev/null || true)
    for pair in 1:briefing 2:play 3:result; do
        n=${pair%%:*}
        [ -f "$shots/screenshot$n.bmp" ] && "$convert" "$shots/screenshot$n.bmp" "$out/level$level-${pair#*:}.png"
    done
    if [ "$result" != won ]; then
        echo "Level $level was not won (the result screen shows: ${result:-nothing})" >&2
        exit 1
    fi
    echo "Level $level won, $((end / 1000)).$((end % 1000 / 100)) s into its replay"
    level=$((level + 1))
done
echo "All $((level - 1)) levels won; screenshots: $out"
