#!/bin/bash
# Plays every shipped replay headless and keeps a screenshot every STEP ms of program time, from
# the briefing to the result screen, so that two builds (or two sets of switches) can be compared
# byte for byte: replay-shots.sh BIN_FOLDER REPLAY_FOLDER OUT_FOLDER [STEP [SWITCHES...]].
# Compare two outputs with: diff -r OUT_A OUT_B
set -euo pipefail
bin=$(cd "$1" && pwd)
replays=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
step=${4:-250}
shift $(($# < 4 ? $# : 4))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for replay in "$replays"/Map*-*.replay; do
    name=$(basename "$replay" .replay)
    level=${name#Map}
    level=${level%%-*}
    end=$(sed -n 's/^# Ends: \([0-9]*\) \(won\|died\)$/\1/p' "$replay")
    [ -n "$end" ] || { echo "$replay names no end time" >&2; exit 1; }
    shots=$(seq -s, "$step" "$step" $((end + 2500)))
    home="$work/$name"
    (cd "$bin" && XDG_DATA_HOME="$home" SDL_VIDEODRIVER=offscreen LIBGL_ALWAYS_SOFTWARE=1 ./sanguor -headless \
        -seed 1 -level "$level" -replay "$replay" -shot "$shots" -quit $((end + 2600)) "$@" >/dev/null 2>&1) || true
    rm -rf "${out:?}/$name"
    mv "$home/Nightshade Forge/Sanguor/screenshots" "$out/$name"
    echo "$name: $(ls "$out/$name" | wc -l) screenshots"
done
