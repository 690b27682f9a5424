#!/bin/bash
# Plays the largest level the format allows (29 x 30 cells of the shipped tiles, 30 humans)
# headless for a stretch of program time in each of several modes, interleaved in one run, and
# prints for each: wall and CPU time (user + system, all threads), program time over each, and
# peak resident memory. On a shared machine the CPU figure is the steadier one. Modes (MODES,
# default "skip drawall"): skip (fast-forward, no screenshot), shots (fast-forward with three
# screenshots, at a quarter, half and the end of the stretch), drawall (every picture drawn).
# Usage: [MODES="skip shots"] bench/headless/largest-level.sh BIN_FOLDER [PROGRAM_MS] [REPEATS]
set -euo pipefail
bin=$(cd "${1:?bin folder}" && pwd)
length=${2:-30000}
repeats=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The program and its archive, with the level in a patch folder that overrides the first level.
ln -s "$bin/sanguor" "$work/sanguor"
ln -s "$bin/Sanguor.qza" "$work/Sanguor.qza"
mkdir -p "$work/PATCH000001/Bin/Maps"
{
    printf '#TILES\r\n1 BLOCK Tiles\\Stone Block.tga\r\n2 BLOCK Tiles\\Wooden Floor.tga\r\n'
    printf '3 SPACE Tiles\\Wall.tga\r\n4 SPACE Tiles\\Lit Window.tga\r\n5 SPACE Tiles\\Night Sky.tga\r\n'
    printf '6 LEFT Tiles\\Stairs Left.tga\r\n7 RIGHT Tiles\\Stairs Right.tga\r\n#MAP\r\n'
    for r in $(seq 1 30); do
        row=""
        for c in $(seq 1 29); do
            if [ "$r" = 1 ] || [ "$r" = 30 ] || [ "$c" = 1 ] || [ "$c" = 29 ]; then t=1
            elif [ $((r % 3)) = 0 ]; then t=2
            elif [ $(((r + c) % 7)) = 0 ]; then t=4
            elif [ "$r" -le 3 ]; then t=5
            else t=3; fi
            row="$row${row:+,}$t"
        done
        printf '%s\r\n' "$row"
    done
    printf '#PC\r\n5,29\r\n#OBJECTIVE\r\nVAMPS=100\r\n'
    types=(VILLAGER FARMER PRIEST NUBILE)
    for i in $(seq 0 29); do
        printf '#NPC\r\nTYPE=%s\r\nLOCATION=%d,%d\r\n' "${types[$((i % 4))]}" $((3 + (i * 5) % 25)) $((2 + 3 * (i % 9)))
    done
} > "$work/PATCH000001/Bin/Maps/Map1.map"

run() {
    local home="$work/home$1"
    rm -rf "$home"
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" env XDG_DATA_HOME="$home" SDL_VIDEODRIVER=offscreen \
        LIBGL_ALWAYS_SOFTWARE=1 "$work/sanguor" -headless -seed 1 -level 1 -quit "$length" $2 ${EXTRA_SWITCHES:-} >/dev/null 2>&1 || true
    read -r wall peak user system < "$work/time"
    echo "$wall $peak $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')"
}

printf '%-8s %7s %11s %7s %10s %8s\n' mode wall_s wall_speed cpu_s cpu_speed peak_MB
for i in $(seq 1 "$repeats"); do
    for mode in ${MODES:-skip drawall}; do
        extra=""
        [ "$mode" = drawall ] && extra=-drawall
        [ "$mode" = shots ] && extra="-shot $((length / 4)),$((length / 2)),$((length - 100))"
        read -r wall peak cpu < <(run "$i$mode" "$extra")
        awk -v m="$mode" -v w="$wall" -v c="$cpu" -v p="$peak" -v l="$length" 'BEGIN {
            printf "%-8s %7.2f %10.1fx %7.2f %9.1fx %8.0f\n", m, w, l / 1000 / (w > 0 ? w : 0.01), c,
                l / 1000 / (c > 0 ? c : 0.01), p / 1024 }'
    done
done
