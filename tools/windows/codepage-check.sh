#!/bin/bash
# The game installed in a folder, and run by a user, whose names are in the system's code page
# and not in ASCII: it must load its content, play the first level's replay to its win and write
# its settings into the user's folder. A user name the code page cannot hold must still give a
# writable folder for the settings.
#   codepage-check.sh WINE_PREFIX PACKAGE_FOLDER REPLAY CONTENT_STAGE RESULTSHOT WORK_FOLDER
# Wine takes the code page from the locale (ru_RU: 1251, ja_JP: 932); the locales are built into
# WORK_FOLDER, the Debian system needs none installed. The user is Wine's $USER, whose profile
# folder is made on first use, so one prefix serves every case.
set -euo pipefail
prefix=$1 package=$2 replay=$3 content=$4 resultshot=$5 work=$6
here=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$work/locales"
for locale in ru_RU ja_JP; do
  [ -d "$work/locales/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$work/locales/$locale.UTF-8"
done
export LOCPATH=$work/locales

"$here/wine-run.sh" "$prefix" cmd /c exit 0
end=$(sed -n 's/^# Ends: \([0-9]*\) won$/\1/p' "$replay")
failures=0

# run LOCALE USER FOLDER PLAY(yes|no): installs the program's folder at C:\FOLDER and starts it
# there, playing the replay or only starting and ending.
run() {
  local locale=$1 user=$2 folder=$3 play=$4
  local install="$prefix/drive_c/${folder//\\//}" profile="$prefix/drive_c/users/$user"
  rm -rf "$install" "$profile" "$prefix/drive_c/ProgramData/S-"*
  mkdir -p "$install"
  cp -r "$package/." "$install/"
  cp "$replay" "$install/level1.replay"
  local args=(-headless -quit 1500)
  [ "$play" = yes ] && args=(-headless -seed 1 -level 1 -replay "C:\\$folder\\level1.replay"
                             -shot "250,$((end + 2500))" -quit "$((end + 3000))")
  local status=0
  # Started from another folder: the game must make its own folder the current one.
  (cd /; LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 USER=$user ALSOFT_DRIVERS=null \
     "$here/wine-run.sh" "$prefix" "C:\\$folder\\sanguor.exe" "${args[@]}") || status=$?
  local data settings
  data=$(find "$profile" "$prefix/drive_c/ProgramData" -path '*/Nightshade Forge/Sanguor' -type d 2>/dev/null | head -1)
  settings="$data/settings.ini"
  local verdict=ok
  if [ "$status" -ne 0 ]; then
    verdict="ended with code $status"
  elif [ -z "$data" ] || ! grep -q '^Width=' "$settings" 2>/dev/null; then
    verdict="no settings written"
  elif grep -a -q "Unable to set game directory" "$data/results.log"; then
    verdict="could not enter its own folder"
  elif [ "$play" = yes ]; then
    local result
    result=$("$resultshot" "$data/screenshots/screenshot2.bmp" "$content" 2>/dev/null || true)
    [ "$result" = won ] || verdict="the result screen shows '${result:-nothing}'"
  fi
  echo "$locale user '$user', C:\\$folder: $verdict${data:+ (player folder ${data#"$prefix/drive_c/"})}"
  [ "$verdict" = ok ] || failures=$((failures + 1))
}

run ru_RU Игрок 'Игры\Вампир' yes
run ja_JP 山田 'ゲーム\吸血鬼' yes
# Code page 1251 cannot write the Japanese user name.
run ru_RU 山田 'Игры\Вампир' no
[ "$failures" -eq 0 ]
