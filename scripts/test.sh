#!/bin/sh
# Builds everything and runs every test under wine64, with a virtual display for the dialogs.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/build.sh"

xvfb=""
if [ -z "$DISPLAY" ]; then
    display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=":$display"
fi
status=0
ctest --test-dir "$top/build/win64" --output-on-failure -j2 || status=$?
[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
exit $status
