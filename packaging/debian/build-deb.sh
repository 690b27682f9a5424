#!/bin/bash
# Builds the Debian package from a configured and built tree: build-deb.sh BUILD_FOLDER OUT_FOLDER
# writes OUT_FOLDER/sanguor_VERSION_amd64.deb. The tree is staged by `cmake --install` (program
# folder /usr/lib/sanguor, the command in /usr/games), its documents added the Debian way, and
# the run-time libraries the program links are computed by dpkg-shlibdeps.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$(head -n 1 "$src/VERSION")
logged=$(sed -n '1s/^sanguor (\([^)]*\)).*/\1/p' "$here/changelog")
if [ "$logged" != "$version" ]; then
  echo "packaging/debian/changelog starts with version '$logged', VERSION says '$version'" >&2
  exit 1
fi
homepage=$(sed -n 's/^SANGUOR_HOMEPAGE:STRING=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
SANGUOR_COMMAND_FOLDER=games DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
# The compiler's notes are no use to a player.
strip --remove-section=.comment --remove-section=.note "$root/usr/lib/sanguor/sanguor"

doc=$root/usr/share/doc/sanguor
install -d "$doc"
install -m 644 "$here/copyright" "$doc/copyright"
gzip -9n -c "$here/changelog" > "$doc/changelog.gz"
gzip -9n "$root/usr/share/man/man6/sanguor.6"
# What cmake installs carries the umask of the build; the package's files are root's, 644 or 755.
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f -exec chmod 644 {} +
chmod 755 "$root/usr/lib/sanguor/sanguor"

# dpkg-shlibdeps reads the package names from a control file of a source tree.
mkdir -p "$work/debian"
printf 'Source: sanguor\n\nPackage: sanguor\nArchitecture: amd64\n' > "$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O -e root/usr/lib/sanguor/sanguor 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
# OpenAL Soft and the Ogg Vorbis decoder are opened at run time, so no linked library names them;
# the GL driver comes with libgl1.
depends="$shlibs, libopenal1, libvorbisfile3, libgl1"

install -d "$root/DEBIAN"
size=$(du -sk --apparent-size "$root/usr" | cut -f1)
sed -e "s|@VERSION@|$version|" -e "s|@INSTALLED_SIZE@|$size|" -e "s|@DEPENDS@|$depends|" \
    -e "s|@HOMEPAGE@|$homepage|" "$here/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb=$out/sanguor_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
