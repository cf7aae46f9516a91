#!/bin/sh
# Makes a fresh Wine prefix for this test run: removes the old one and starts the new one.
set -e
prefix="$1"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$prefix"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -w
test -d "$prefix/drive_c/windows"
echo "wine prefix ready: $prefix"
