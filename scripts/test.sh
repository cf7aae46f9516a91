#!/bin/sh
# Builds everything and runs every test under wine64, with a virtual display for the dialogs.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"

exec "$top/scripts/with-display.sh" ctest --test-dir "$top/build/win64" --output-on-failure -j2
