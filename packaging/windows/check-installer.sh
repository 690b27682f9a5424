#!/bin/bash
# The Windows installer under Wine, as a player uses it: check-installer.sh SETUP_EXE WINE_PREFIX
# REPLAY CONTENT_STAGE RESULTSHOT OUT_FOLDER. In a fresh prefix the installer runs silently (/S);
# the program folder, the Start-menu entry and the Apps & Features entry must be there; the
# installed game plays the replay to its win (tools/windows/replay-check.sh); the uninstaller,
# run silently as Apps & Features would, must remove the folder, the entry and the key, and
# leave the player's settings. Run it in an X display (xvfb-run), as the Windows tests are.
set -euo pipefail
setup=$(realpath "$1")
# Wine takes only absolute prefixes, and replay-check.sh runs in the program's folder.
prefix=$(realpath -m "$2")
replay=$(realpath "$3")
content=$(realpath "$4")
resultshot=$(realpath "$5")
out=$(realpath -m "$6")
tools=$(cd "$(dirname "$0")/../../tools/windows" && pwd)
failed=0
ok() { echo "ok: $1"; }
bad() { echo "FAILED: $1"; failed=1; }

rm -rf "$prefix"
"$tools/wine-run.sh" "$prefix" cmd /c exit 0
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
user=$prefix/drive_c/users/$(id -un)
program=$user/AppData/Local/Programs/Sanguor
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sanguor.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sanguor'
settings="$user/AppData/Local/Nightshade Forge/Sanguor/settings.ini"

"$tools/wine-run.sh" "$prefix" "$setup" /S || bad "the installer ended with code $?"
wineserver -w
[ -f "$program/sanguor.exe" ] && [ -f "$program/Sanguor.qza" ] && [ -f "$program/uninstall.exe" ] &&
  ok "installed into %LOCALAPPDATA%\\Programs\\Sanguor" || bad "no program in $program"
[ -f "$shortcut" ] && ok "Start-menu entry" || bad "no Start-menu entry at $shortcut"
uninstall=$(wine reg query "$key" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p' || true)
[ -n "$uninstall" ] && ok "Apps & Features entry: $uninstall" || bad "no $key"
version=$(wine reg query "$key" /v DisplayVersion 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p' || true)
echo "   version $version"

if [ -f "$program/sanguor.exe" ]; then
  "$tools/replay-check.sh" "$prefix" "$program/sanguor.exe" "$replay" "$content" "$resultshot" "$out" &&
    ok "the installed game wins the replay" || bad "the installed game does not win the replay"
  grep -a -q "(version $version)" "$user/AppData/Local/Nightshade Forge/Sanguor/results.log" &&
    ok "its log names version $version" || bad "its log does not name version $version"
fi
[ -f "$settings" ] && ok "the game wrote its settings" || bad "no $settings after playing"

# The uninstaller copies itself away and returns at once; the prefix's processes are waited for.
"$tools/wine-run.sh" "$prefix" "$program/uninstall.exe" /S || bad "the uninstaller ended with code $?"
wineserver -w
[ ! -e "$program" ] && ok "the program folder is gone" || bad "left behind: $(ls -A "$program")"
[ ! -e "$shortcut" ] && ok "the Start-menu entry is gone" || bad "the Start-menu entry is still there"
wine reg query "$key" >/dev/null 2>&1 && bad "$key is still there" || ok "the Apps & Features entry is gone"
[ -f "$settings" ] && ok "the player's settings stay" || bad "the uninstaller removed $settings"
exit "$failed"
