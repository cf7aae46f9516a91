#!/bin/sh
# Runs a command with a display for the dialogs: the one in DISPLAY, else a virtual one that
# xvfb-run starts for the command and stops after it; and, for the programs scripts/wine.sh starts,
# a virtual display per Wine prefix. Exits with the command's status.
#
# One run at a time per checkout: every run uses this checkout's Wine prefixes, whose sessions
# (wineserver, services, desktop) a run starts, and a run's end ends them all. A second run
# beside the first shared the first's sessions and had its programs killed when the first ended
# (tests failing at once with no output): it now waits for the first to end. The lock is held by
# flock itself (-o), not by the Wine servers the run leaves behind for a moment.
top="$(cd "$(dirname "$0")/.." && pwd)"
lock="$top/build/.test-run.lock"
BUSY=75
if [ -z "$QTFILE_TEST_RUN" ]; then
    mkdir -p "$top/build"
    export QTFILE_TEST_RUN=1
    flock -n -E "$BUSY" -o "$lock" "$0" "$@" && exit 0 || status=$?
    [ "$status" -eq "$BUSY" ] || exit "$status"
    echo "with-display.sh: another test run in this checkout; waiting for it to end" >&2
    exec flock -o "$lock" "$0" "$@"
fi
if [ -z "$QTFILE_VIRTUAL_DISPLAY" ] && [ -z "$DISPLAY" ]; then
    # xvfb-run takes the first free display from :99 up. Every user's programs may connect to it
    # (-ac): the ordinary user's test runs its own under the display of the root that started it.
    export QTFILE_VIRTUAL_DISPLAY=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -ac" "$0" "$@"
fi
# Each prefix then gets a virtual display of its own (scripts/wine.sh), in this folder, which every
# user's programs may use (the ordinary user's test runs its own).
QTFILE_DISPLAYS="$(mktemp -d)"
chmod 1777 "$QTFILE_DISPLAYS"
export QTFILE_DISPLAYS
status=0
"$@" || status=$?
# Wine's own processes in this checkout's prefixes hold the displays: end them first (wineserver
# -k returns once they are gone), so that they do not complain about a display that went away.
for prefix in "$top"/build/*/wineprefix*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null
done
for pid in "$QTFILE_DISPLAYS"/*.pid; do
    [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null
done
rm -rf "$QTFILE_DISPLAYS"
exit $status
