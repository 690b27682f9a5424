#!/bin/bash
# Hears the Windows program under Wine through the sound libraries beside it: the first level's
# replay, played until shortly after the bite into OpenAL Soft's wave writer, must be heard, and
# with the settings' App Volume at 0 it must be silent:
#   sound-check.sh WINE_PREFIX PROGRAM REPLAY OUT_FOLDER
# The wave files are kept in OUT_FOLDER.
set -euo pipefail
prefix=$1 program=$2 replay=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)

"$here/wine-run.sh" "$prefix" cmd /c exit 0
data="$prefix/drive_c/users/$(id -un)/AppData/Local/Nightshade Forge/Sanguor"
mkdir -p "$out" "$data"
out=$(cd "$out" && pwd)
printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$(winepath -w "$out/sound.wav" 2>/dev/null)" >"$out/alsoft.conf"

# The loudest sample of one run. The wave writer mixes at the pace of the real clock, so the run
# draws every pass (-drawall), which keeps it about as long in wall time as in program time.
peak() {
  rm -f "$out/sound.wav"
  (cd "$(dirname "$program")" &&
    ALSOFT_DRIVERS=wave ALSOFT_CONF="$(winepath -w "$out/alsoft.conf" 2>/dev/null)" \
      "$here/wine-run.sh" "$prefix" "$program" -headless -seed 1 -level 1 \
      -replay "$(winepath -w "$replay" 2>/dev/null)" -quit 2200 -drawall >/dev/null)
  if [ ! -s "$out/sound.wav" ]; then
    echo "the program wrote no sound; its log says:" >&2
    grep -a "Error" "$data/results.log" >&2 || true
    return 1
  fi
  cp "$out/sound.wav" "$out/$1.wav"
  # The writer's samples are 32-bit floats after the "data" chunk's size.
  local data
  data=$(grep -obUa data "$out/sound.wav" | head -n 1 | cut -d: -f1)
  od -v -A n -t f4 -j "$((data + 8))" "$out/sound.wav" |
    awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { printf "%.4f\n", m + 0 }'
}

rm -f "$data/settings.ini"
heard=$(peak heard)
printf '[Audio]\r\nApp Volume=0\r\n' >"$data/settings.ini"
muted=$(peak muted)
rm -f "$data/settings.ini"
echo "Level 1 under Wine: loudest sample $heard, with App Volume 0: $muted"
awk -v heard="$heard" -v muted="$muted" 'BEGIN { exit !(heard > 0.05 && muted == 0) }'
