#!/bin/bash
# Checks the Debian package as a distribution would, then plays it: check-deb.sh DEB BUILD_FOLDER
# REPLAY. lintian (no errors or warnings), desktop-file-validate, appstreamcli; then the package
# is unpacked into a scratch folder, and the program found there plays the replay headless to
# its win, which the build's resultshot reads from the result screen.
set -euo pipefail
deb=$(realpath "$1")
build=$(cd "$2" && pwd)
replay=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
ok() { echo "ok: $1"; }
bad() { echo "FAILED: $1"; failed=1; }

if lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.out" 2>&1; then
  ok "lintian"
else
  bad "lintian: $(grep -v 'root privileges' "$work/lintian.out")"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/sanguor.desktop" >"$work/desktop.out" 2>&1 &&
  ok "desktop-file-validate" || bad "desktop-file-validate: $(cat "$work/desktop.out")"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$work/appstream.out" 2>&1 &&
  ok "appstreamcli validate" || bad "appstreamcli: $(cat "$work/appstream.out")"
for file in usr/games/sanguor usr/lib/sanguor/Sanguor.qza usr/share/man/man6/sanguor.6.gz \
  usr/share/doc/sanguor/copyright usr/share/doc/sanguor/changelog.gz \
  usr/share/icons/hicolor/256x256/apps/sanguor.png; do
  [ -e "$root/$file" ] && ok "$file" || bad "$file is missing"
done
# Every switch the program reads is in the manual page: those its sources ask the command line
# for by name, and "-answerno", which the message boxes read on their own.
src=$(cd "$(dirname "$0")/../.." && pwd)
switches=$({ grep -rhE 'CommandLineHas|CommandLineValue|SameSwitch' "$src/src" --include=*.cpp |
  grep -oE '"-[A-Za-z]+"' | tr -d '"'; echo -answerno; } | sort -u)
[ "$(printf '%s\n' "$switches" | wc -l)" -ge 15 ] || bad "only these switches found in the sources: $switches"
missing=
for switch in $switches; do
  zcat "$root/usr/share/man/man6/sanguor.6.gz" | grep -q -- "^\.[BI]*  *\\\\$switch\b" || missing="$missing $switch"
done
[ -z "$missing" ] && ok "the manual page lists all $(echo $switches | wc -w) switches" ||
  bad "the manual page does not list$missing"

# The unpacked program, started through the command in usr/games from another folder.
level=$(basename "$replay" | sed -n 's/^Map\([0-9]*\)-win\.replay$/\1/p')
end=$(sed -n 's/^# Ends: \([0-9]*\) won$/\1/p' "$replay")
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && ALSOFT_DRIVERS=null XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=offscreen \
  LIBGL_ALWAYS_SOFTWARE=1 "$root/usr/games/sanguor" -headless -startinfo -seed 1 -level "$level" \
  -replay "$replay" -shot "$((end + 2000))" -quit "$((end + 2500))" >"$work/run.out" 2>&1) ||
  bad "the unpacked program: $(cat "$work/run.out")"
user="$work/data/Nightshade Forge/Sanguor"
result=$("$build/bin/resultshot" "$user/screenshots/screenshot1.bmp" "$build/content-out" 2>/dev/null || true)
[ "$result" = won ] && ok "the unpacked program wins level $level by its replay" ||
  bad "level $level from the unpacked program ends ${result:-without a result screen}"
version=$(dpkg-deb -f "$deb" Version)
changes=$src/CHANGELOG.md
grep -q "^## $version " "$changes" && ok "CHANGELOG.md tells what $version brings" ||
  bad "CHANGELOG.md has no section for $version"
head -n 1 "$user/results.log" | grep -q "(version $version)" && ok "its log names version $version" ||
  bad "its log's first line: $(head -n 1 "$user/results.log")"
exit "$failed"
