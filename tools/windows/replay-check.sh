#!/bin/bash
# Plays a winning replay with the Windows program under Wine, headless, and checks by its
# screenshot that the level is won, and by its log that the sound libraries beside it opened
# OpenAL Soft's null output:
#   replay-check.sh WINE_PREFIX PROGRAM REPLAY CONTENT_STAGE RESULTSHOT OUT_FOLDER
# RESULTSHOT is the Linux build's result-screen reader; the screenshots are kept in OUT_FOLDER.
set -euo pipefail
prefix=$1 program=$2 replay=$3 content=$4 resultshot=$5 out=$6
here=$(cd "$(dirname "$0")" && pwd)

level=$(basename "$replay" | sed -n 's/^Map\([0-9]*\)-win\.replay$/\1/p')
end=$(sed -n 's/^# Ends: \([0-9]*\) won$/\1/p' "$replay")
if [ -z "$level" ] || [ -z "$end" ]; then
  echo "$replay is no winning replay with an end time" >&2
  exit 2
fi

# The prefix is made on the first run; the player's folder in it is cleared before each.
"$here/wine-run.sh" "$prefix" cmd /c exit 0
data="$prefix/drive_c/users/$(id -un)/AppData/Local/Nightshade Forge/Sanguor"
rm -rf "$data/screenshots" "$data/results.log"

cd "$(dirname "$program")"
status=0
ALSOFT_DRIVERS=null "$here/wine-run.sh" "$prefix" "$program" -headless -ver -seed 1 -level "$level" -replay "$(winepath -w "$replay" 2>/dev/null)" \
  -shot "250,$((end + 2500))" -quit "$((end + 3000))" || status=$?
if [ "$status" -ne 0 ]; then
  echo "the program ended with code $status" >&2
  exit 1
fi

if ! grep -q -a "fwkAudio - Version" "$data/results.log" 2>/dev/null; then
  echo "the program's results.log does not show the audio module starting" >&2
  exit 1
fi
if grep -a -e "OpenAL is not installed" -e "OpenAL found no sound output device" -e "Ogg Vorbis is not installed" "$data/results.log" >&2; then
  echo "the program found no sound libraries beside it" >&2
  exit 1
fi

mkdir -p "$out"
for n in 1 2; do
  if [ ! -f "$data/screenshots/screenshot$n.bmp" ]; then
    echo "screenshot $n is missing" >&2
    exit 1
  fi
  cp "$data/screenshots/screenshot$n.bmp" "$out/level$level-$n.bmp"
done
result=$("$resultshot" "$out/level${level}-2.bmp" "$content" || true)
echo "Level $level under Wine: the result screen shows ${result:-nothing}"
[ "$result" = won ]
