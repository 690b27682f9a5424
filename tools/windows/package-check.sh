#!/bin/bash
# Checks that the Windows folder runs on a Windows PC with nothing else installed:
#   package-check.sh WINE_PREFIX FOLDER
# The program, its four sound libraries and their licences are there, and every DLL that the
# program or a library imports is either in the folder or part of Windows (found in the Wine
# prefix's system folder), so no compiler runtime DLL is needed.
set -euo pipefail
prefix=$1 folder=$2
here=$(cd "$(dirname "$0")" && pwd)

"$here/wine-run.sh" "$prefix" cmd /c exit 0
system="$prefix/drive_c/windows/system32"

status=0
for file in sanguor.exe Sanguor.qza OpenAL32.dll libogg.dll libvorbis.dll libvorbisfile.dll \
    OpenAL-Soft-COPYING.txt libogg-COPYING.txt libvorbis-COPYING.txt audio-libraries.txt; do
  if [ ! -s "$folder/$file" ]; then
    echo "$file is missing from $folder" >&2
    status=1
  fi
done

for binary in "$folder"/*.exe "$folder"/*.dll; do
  [ -f "$binary" ] || continue
  imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p')
  if [ -z "$imports" ]; then
    echo "$(basename "$binary") imports nothing: not a Windows program or library" >&2
    status=1
  fi
  for name in $imports; do
    if [ -z "$(find "$folder" "$system" -maxdepth 1 -iname "$name" -print -quit)" ]; then
      echo "$(basename "$binary") needs $name, which is neither in the folder nor part of Windows" >&2
      status=1
    fi
  done
done

[ "$status" -eq 0 ] && echo "$folder holds the program, its sound libraries and their licences, and needs nothing else"
exit "$status"
