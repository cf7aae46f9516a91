#!/bin/sh
# wine_session.sh start|end PREFIX: starts the Wine session the tests share, or ends it. The
# wineserver stays until "end"; the services and the desktop that come up with the first program
# inherit its output, sent nowhere, so that no test's output is held open by them.
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$1" in
start)
    setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
    setsid /usr/lib/wine/wine64 rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
    echo "wine session started: $2" ;;
end)
    /usr/lib/wine/wineserver -k
    echo "wine session ended: $2" ;;
esac
