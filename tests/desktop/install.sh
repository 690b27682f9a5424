#!/bin/sh
# Installs the build into a fresh prefix and runs the installed program from another working
# folder: it must find its archive, and write only to the XDG data folder.
# Usage: tests/desktop/install.sh BUILD_FOLDER
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failed=0
ok() { echo "ok: $1"; }
bad() { echo "FAILED: $1"; failed=1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.out" || { cat "$work/install.out"; exit 1; }
for file in bin/sanguor lib/sanguor/sanguor lib/sanguor/Sanguor.qza lib/sanguor/Launcher.bmp \
  share/applications/sanguor.desktop share/man/man6/sanguor.6 \
  share/metainfo/com.nightshadeforge.Sanguor.metainfo.xml; do
  [ -e "$prefix/$file" ] && ok "$file" || bad "$file is missing"
done
grep -q "^Categories=Game;" "$prefix/share/applications/sanguor.desktop" && ok "desktop entry in the Game category" ||
  bad "desktop entry: $(cat "$prefix/share/applications/sanguor.desktop")"
for size in 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/sanguor.png"
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x${size}" ] && ok "icon $size" ||
    bad "icon $size: $(identify "$icon" 2>&1)"
done

find "$prefix" | sort >"$work/before"
mkdir "$work/elsewhere"
cd "$work/elsewhere"
# Without a sound card OpenAL Soft opens no device and the game logs so; its null device stands in.
if ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} XDG_DATA_HOME="$work/data" "$prefix/bin/sanguor" -headless -quit 2000 >"$work/run.out" 2>&1; then
  ok "the installed program runs from another working folder"
else
  bad "the installed program: $(cat "$work/run.out")"
fi
user="$work/data/Nightshade Forge/Sanguor"
[ -f "$user/results.log" ] && [ -f "$user/settings.ini" ] && ok "per-user files in the XDG data folder" ||
  bad "no per-user files in $user"
if grep -q "Error: " "$user/results.log"; then bad "errors: $(grep 'Error: ' "$user/results.log")"; fi
find "$prefix" | sort >"$work/after"
cmp -s "$work/before" "$work/after" && ok "nothing written under the prefix" ||
  bad "written under the prefix: $(diff "$work/before" "$work/after")"
[ -z "$(ls -A "$work/elsewhere")" ] && ok "nothing written in the working folder" || bad "working folder not empty"
exit "$failed"
