#!/bin/sh
# Builds both modules, then shows what the authoring host's editor sees of the object and plays
# the example tour through the headless host (the 64-bit twin, which runs here under wine64).
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
# The tour opens the selectors' dialogs: every Wine program here runs on one display, which
# needs Xvfb installed before it starts.
if [ -z "$DISPLAY" ]; then
    "$top/scripts/install-prerequisites.sh"
    exec "$top/scripts/with-display.sh" "$0" "$@"
fi
"$top/scripts/build.sh" >/dev/null
echo "built $top/build/win32/QTFILE.qtx (the deliverable) and $top/build/win64/QTFILE.qtx"
echo "its help $top/build/win32/File.chm and the release $(ls "$top"/build/win32/QTFILE-*.zip)"
"$top/tests/prepare_prefix.sh" "$top/build/win64/wineprefix" >/dev/null
wine="$top/build/win64/wine.sh"
"$wine" "$top/build/win64/qtxhost.exe" describe "$top/build/win64/QTFILE.qtx"
echo
"$wine" "$top/build/win64/qtxhost.exe" --scratch run "$top/build/win64/QTFILE.qtx" "$top/examples/tour.qtxs"
