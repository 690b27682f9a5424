#!/bin/sh
# `make play` on a fresh machine installs what building and playing need, and no cross-compiler,
# Wine, clang, test, benchmark or packaging tool: play-packages.sh SOURCE_FOLDER.
# Every package list the play target's whole chain would hand to apt is read from a dry run
# (`make -n play`), so a list added anywhere on the way is seen too.
set -eu
src=$1
# The make that runs the tests must not pass its own flags or job server to this one. The play
# recipe calls make again (for the demo), which a dry run carries out: without a display that
# call is a dry run too, where with one it would start the game.
dry=$(env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u DISPLAY -u WAYLAND_DISPLAY make --no-print-directory -n -C "$src" play BUILD=/nonexistent-build)
packages=$(printf '%s\n' "$dry" | sed -n 's/.*for p in \([^;]*\); do.*/\1/p' | tr ' ' '\n' | sed '/^$/d' | sort -u)

status=0
for needed in build-essential cmake libsdl2-dev libfreetype-dev libopenal1 libvorbis-dev libgl1-mesa-dri; do
  if ! printf '%s\n' "$packages" | grep -qx "$needed"; then
    echo "make play does not install $needed" >&2
    status=1
  fi
done

# Cross-compilers, Wine, clang, and the tools only tests, benchmarks or packaging use.
forbidden='mingw|^wine|clang|llvm|gtest|gmock|googletest|benchmark|xvfb|xauth|xdotool|valgrind|jpeg-turbo-progs|vorbis-tools|lintian|nsis|desktop-file-utils|appstream|^zip$'
bad=$(printf '%s\n' "$packages" | grep -E "$forbidden" || true)
if [ -n "$bad" ]; then
  echo "make play would install packages it does not need:" $bad >&2
  status=1
fi
[ "$status" = 0 ] && echo "make play installs:" $packages
exit $status
