#!/bin/sh
# Builds everything and runs every test of both builds (the 32-bit module under i386 Wine, its
# 64-bit twin under wine64), with a virtual display for the dialogs. CTest registers the handler
# that lets Wine start i386 programs for the 32-bit tests and removes it after them; the trap
# removes it too when the run is cut short. Arguments go to CTest (-L win32 runs one build's).
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"

trap '"$top/scripts/wine.sh" handler off' EXIT
trap 'exit 130' INT TERM
"$top/scripts/with-display.sh" ctest --test-dir "$top/build" --output-on-failure -j2 "$@"
