#!/bin/bash
# Writes the seed corpora of the non-image fuzz targets from files the project's own writers and
# tools make: levels and exposure sheets from the content build, fonts from fot, archives from
# qza, settings as the program leaves them, level scripts from the content build and the played
# script's programs from vmcasm, replays and plans from content/replays.
# Usage: fuzz/seeds.sh BUILD_FOLDER (a built ordinary build, content included)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
root=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$root/.." && pwd)
stage="$build/content-out"
bin="$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seed() {  # seed TARGET_FOLDER NAME FILE
  mkdir -p "$1"
  cp "$3" "$1/$2"
}

for target in levelread/corpus/fuzz_level_read levels/corpus/fuzz_levelcheck game/corpus/fuzz_game_level; do
  for map in "$stage"/Bin/Maps/Map*.map; do seed "$root/$target" "$(basename "$map")" "$map"; done
done

# One sheet of each distinct content (the figures share their sheets' shapes).
declare -A seen
while IFS= read -r -d '' sheet; do
  sum=$(sha1sum "$sheet" | cut -c1-40)
  [ -n "${seen[$sum]:-}" ] && continue
  seen[$sum]=1
  name=$(basename "$(dirname "$sheet")")-$(basename "$sheet")
  seed "$root/game/corpus/fuzz_game_sheet" "${name// /_}" "$sheet"
done < <(find "$stage" -name '*.exp' -print0 | sort -z)

font=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf
"$bin/fot" build "$font" 8 32 126 "$work/serif8.fot" --name "Serif 8"
"$bin/fot" build /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf 12 48 57 "$work/digits12.fot"
"$bin/fot" build "$font" 22 65 70 "$work/game-size.fot" --name "Menu Description Small"
for file in "$work"/*.fot; do seed "$root/fonts/corpus/fuzz_font_reader" "$(basename "$file")" "$file"; done

# Archives: a level alone, a level with sheets and a HUD picture, and a patch folder.
mkdir -p "$work/one/Bin/Maps" "$work/some/Bin/Maps" "$work/some/Bin/HUD" "$work/some/Bin/Sprites" \
  "$work/patch/PATCH000001/Bin/Maps"
cp "$stage/Bin/Maps/Map1.map" "$work/one/Bin/Maps/"
cp "$stage/Bin/Maps/Map2.map" "$work/some/Bin/Maps/"
cp "$stage/Bin/HUD/Fog.tga" "$work/some/Bin/HUD/"
cp "$stage/Bin/Sprites/Dracula/Vampire Stand/"*.exp "$work/some/Bin/Sprites/"
cp "$stage/Bin/Maps/Map3.map" "$work/patch/PATCH000001/Bin/Maps/Map1.map"
for pack in one some patch; do
  "$bin/qza" pack "$work/$pack" "$work/$pack.qza"
  seed "$root/datafile/corpus/fuzz_datafile" "tool-$pack.qza" "$work/$pack.qza"
done

# The settings file as the program leaves it after a game.
XDG_DATA_HOME="$work/home" SDL_VIDEODRIVER=offscreen "$bin/sanguor" -headless -quit 300 >/dev/null 2>&1
seed "$root/services/corpus/fuzz_settings_file" after-game.ini "$work/home/Nightshade Forge/Sanguor/settings.ini"

# The level scripts as the content build assembles them, object declarations and all (levels
# that share a script are seeded once).
declare -A scripts
for file in "$stage"/Bin/Scripts/Map*.vmc; do
  sum=$(sha1sum "$file" | cut -c1-40)
  [ -n "${scripts[$sum]:-}" ] && continue
  scripts[$sum]=1
  seed "$root/script/corpus/fuzz_script_load" "content-$(basename "$file")" "$file"
  seed "$root/script/corpus/fuzz_script_draw" "content-$(basename "$file")" "$file"
done
# The played script's generated programs (loops, forks, long strings, many objects), from their
# text form in the assembler's corpus.
for file in "$root"/script/corpus/fuzz_script_asm/draw-*.vasm; do
  "$bin/vmcasm" "$file" "$work/$(basename "${file%.vasm}").vmc"
  seed "$root/script/corpus/fuzz_script_draw" "$(basename "${file%.vasm}").vmc" "$work/$(basename "${file%.vasm}").vmc"
done

for file in "$source"/content/replays/*.replay; do seed "$root/replay/corpus/fuzz_replay" "$(basename "$file")" "$file"; done
for file in "$source"/content/replays/*.plan; do seed "$root/replaybot/corpus/fuzz_botplan" "$(basename "$file")" "$file"; done
