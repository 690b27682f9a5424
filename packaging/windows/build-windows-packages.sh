#!/bin/bash
# The Windows folder as a player gets it: build-windows-packages.sh WINDOWS_BUILD_FOLDER VERSION
# writes, beside the folder WINDOWS_BUILD_FOLDER/Sanguor, the zip Sanguor-VERSION-windows-x64.zip
# (that folder, to unpack anywhere) and the installer Sanguor-VERSION-windows-x64-setup.exe (NSIS).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
version=$2
folder=$build/Sanguor
[ -f "$folder/sanguor.exe" ] || { echo "$folder holds no sanguor.exe: make windows first" >&2; exit 1; }

zip=$build/Sanguor-$version-windows-x64.zip
setup=$build/Sanguor-$version-windows-x64-setup.exe
# Both are made again only when a file of the folder, or of this folder, is newer than either.
if [ -f "$zip" ] && [ -f "$setup" ] && [ -z "$(find "$folder" "$here" -newer "$zip" -print -quit)" ] &&
   [ -z "$(find "$folder" "$here" -newer "$setup" -print -quit)" ]; then
  echo "$zip and $setup are up to date"
  exit 0
fi
rm -f "$zip" "$setup"
# Files in name order and without extra attributes, so the same folder gives the same zip.
(cd "$build" && find Sanguor -type f | LC_ALL=C sort | zip -X -q -9 "$zip" -@)
echo "$zip"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$folder" && find . -type f | LC_ALL=C sort | sed 's|^\./||') > "$work/list"
if grep -q / "$work/list"; then
  echo "the installer takes the folder's files only, not subfolders: $(grep / "$work/list")" >&2
  exit 1
fi
sed 's|.*|  File "'"$folder"'/&"|' "$work/list" > "$work/files.nsh"
sed 's|.*|  Delete "$INSTDIR\\&"|' "$work/list" > "$work/remove.nsh"
makensis -V2 -DVERSION="$version" -DICON="$build/sanguor.ico" -DFILES="$work/files.nsh" -DREMOVE="$work/remove.nsh" \
  -DOUTFILE="$setup" "$here/sanguor.nsi"
echo "$setup"
