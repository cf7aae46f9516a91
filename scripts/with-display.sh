#!/bin/sh
# Runs a command with a display for the dialogs: the one in DISPLAY, else a virtual one (Xvfb)
# started for the command and stopped after it. Exits with the command's status.
xvfb=""
if [ -z "$DISPLAY" ]; then
    display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=":$display"
    tries=0
    while [ ! -e "/tmp/.X11-unix/X$display" ] && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
fi
status=0
"$@" || status=$?
if [ -n "$xvfb" ]; then
    # Wine's own processes in this checkout's prefixes hold the display: end them first, so
    # that they do not complain about a display that went away.
    top="$(cd "$(dirname "$0")/.." && pwd)"
    for prefix in "$top"/build/*/wineprefix; do
        [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null
    done
    sleep 1
    kill "$xvfb" 2>/dev/null
fi
exit $status
