#!/bin/sh
# Installs what is missing, builds everything and runs every test of both builds (the 32-bit
# module under i386 Wine, its 64-bit twin under wine64), with a virtual display for the dialogs.
# Arguments go to CTest:
# -L win32 or -L win64 runs one build's tests. A test that hangs is stopped after 5 minutes.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-prerequisites.sh"
"$top/scripts/build.sh"

exec "$top/scripts/with-display.sh" ctest --test-dir "$top/build" --output-on-failure -j2 --timeout 300 "$@"
