#!/bin/sh
# wine_session.sh start|end win32|win64 PREFIX: starts the Wine session the build's tests share,
# or ends it. The wineserver stays until "end"; the services and the desktop that come up with the
# first program inherit its output, sent nowhere, so that no test's output is held open by them.
launcher="$(cd "$(dirname "$0")/.." && pwd)/scripts/wine.sh"
build="$2" prefix="$3"
case "$1" in
start)
    setsid "$launcher" "$build" "$prefix" wineserver -p </dev/null >/dev/null 2>&1
    setsid "$launcher" "$build" "$prefix" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
    echo "wine session started: $prefix" ;;
end)
    "$launcher" "$build" "$prefix" wineserver -k
    echo "wine session ended: $prefix" ;;
esac
