#!/bin/sh
# Installs what is missing, builds everything and runs every test of both builds (the 32-bit
# module under i386 Wine, its 64-bit twin under wine64), with a virtual display for the dialogs.
# Arguments go to CTest:
# -L win32 or -L win64 runs one build's tests. A test that hangs is stopped after 5 minutes.
#
#   test.sh [--repeat N] [CTEST ARGUMENT...]
#
# --repeat N runs the whole suite N times over (each run as CI runs it: its own display, prefix
# check and Wine session) and stops at the first run that fails, naming it.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
runs=1
if [ "$1" = --repeat ]; then
    runs="$2"
    shift 2
fi
"$top/scripts/install-prerequisites.sh"
"$top/scripts/build.sh"

run=1
while [ "$run" -le "$runs" ]; do
    [ "$runs" -eq 1 ] || echo "test.sh: run $run of $runs"
    if ! "$top/scripts/with-display.sh" ctest --test-dir "$top/build" --output-on-failure -j2 --timeout 300 "$@"; then
        echo "test.sh: run $run of $runs failed"
        exit 1
    fi
    run=$((run + 1))
done
[ "$runs" -eq 1 ] || echo "test.sh: all $runs runs passed"
