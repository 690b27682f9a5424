#!/bin/sh
# The program's icons, drawn from the game's own art: Dracula standing, cut to his outline,
# centred on a square and scaled without blurring to each size of the desktop's icon theme.
# Usage: tools/desktop/icons.sh PICTURE OUTPUT_FOLDER
set -eu
picture=$1
out=$2
side=$(convert "$picture" -trim -format '%[fx:max(w,h)]' info:)
for size in 32 48 64 128 256; do
  mkdir -p "$out/${size}x${size}"
  convert "$picture" -trim +repage -background none -gravity center -extent "${side}x${side}" \
    -filter point -resize "${size}x${size}" -define png:exclude-chunks=date,time \
    "PNG32:$out/${size}x${size}/sanguor.png"
done
