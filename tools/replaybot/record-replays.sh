#!/bin/sh
# Records every shipped replay again from its plan: record-replays.sh BIN_FOLDER REPLAY_FOLDER.
# A plan MapN-win.plan or MapN-die.plan gives MapN-win.replay or MapN-die.replay, played on
# level N with seed 1 and the default tick; the header names the outcome and when it came.
set -eu
bin=$(cd "$1" && pwd)
replays=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for plan in "$replays"/Map*-win.plan "$replays"/Map*-die.plan; do
    name=$(basename "$plan" .plan)
    level=$(echo "$name" | sed 's/^Map\([0-9]*\)-.*/\1/')
    want=$(case "$name" in *-win) echo won ;; *) echo died ;; esac)
    (cd "$bin" && XDG_DATA_HOME="$work/home-$name" ./replaybot -headless -seed 1 -level "$level" \
        -plan "$plan" -record "$work/$name.replay" -quit 120000 >"$work/$name.out" 2>/dev/null) || true
    outcome=$(grep -E "^[0-9]+ (won|died) " "$work/$name.out" | head -n 1 || true)
    if [ "$(echo "$outcome" | cut -d' ' -f2)" != "$want" ]; then
        echo "$name: the plan did not end as its name says (${outcome:-no outcome})" >&2
        status=1
        continue
    fi
    at=$(echo "$outcome" | cut -d' ' -f1)
    {
        echo "# Level $level $want by replaybot from $name.plan (tools/replaybot/record-replays.sh)."
        echo "# Play: sanguor -headless -seed 1 -level $level -replay $name.replay"
        echo "# Ends: $at $want"
        grep -v '^#' "$work/$name.replay"
    } >"$replays/$name.replay"
    echo "$name: level $level $want at $at ms"
done
exit $status
