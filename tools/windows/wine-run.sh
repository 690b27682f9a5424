#!/bin/bash
# Runs a Windows program under Wine in a prefix of its own: wine-run.sh PREFIX PROGRAM [ARGS...].
# The prefix is made on first use, with Wine's virtual desktop, which gives the program display
# modes to enumerate and change, and windows that close without a stall. Programs run at once
# share it; the first one makes it while the others wait.
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$prefix"
(
  flock 9
  if [ ! -f "$prefix/.sanguor-ready" ]; then
    wineboot --init >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.sanguor-ready"
  fi
) 9>"$prefix.lock"
# Wine's note that 32-bit support is missing concerns 32-bit programs only.
exec wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
