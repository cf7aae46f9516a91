#!/bin/sh
# Builds both modules, then shows what the authoring host's editor sees of the object and plays
# the example tour through the headless host, on the deliverable: the 32-bit module, run by
# i386 Wine through the project's launcher (scripts/wine.sh).
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
# The tour opens the selectors' dialogs: every Wine program here runs on one display, which
# needs Xvfb installed before it starts.
"$top/scripts/install-prerequisites.sh"
if [ -z "$DISPLAY" ]; then
    exec "$top/scripts/with-display.sh" "$0" "$@"
fi
"$top/scripts/build.sh" >/dev/null
echo "built $top/build/win32/QTFILE.qtx (the deliverable) and $top/build/win64/QTFILE.qtx"
echo "its help $top/build/win32/File.chm and the release $(ls "$top"/build/win32/QTFILE-*.zip)"
build="$top/build/win32"
"$top/scripts/prepare_prefix.sh" win32 "$build/wineprefix" >/dev/null
"$build/wine.sh" "$build/qtxhost.exe" describe "$build/QTFILE.qtx"
echo
"$build/wine.sh" "$build/qtxhost.exe" --scratch run "$build/QTFILE.qtx" "$top/examples/tour.qtxs"
