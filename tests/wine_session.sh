#!/bin/sh
# wine_session.sh start win32|win64 PREFIX HOLDER | end win32|win64 PREFIX: starts the Wine session
# the build's tests share, or ends it. The wineserver and the services (which inherit the first
# program's output, sent nowhere, so that no test's output is held open) stay until "end", and so
# does HOLDER (desktop_holder.exe) with Wine's desktop. A session whose desktop takes no window is
# made again, three times at most.
launcher="$(cd "$(dirname "$0")/.." && pwd)/scripts/wine.sh"
build="$2" prefix="$3" holder="$4"
ATTEMPTS=3
case "$1" in
start)
    ready="$(mktemp -d)"
    mkfifo "$ready/verdict"
    attempt=1
    while :; do
        setsid "$launcher" "$build" "$prefix" wineserver -p </dev/null >/dev/null 2>&1
        setsid "$launcher" "$build" "$prefix" cmd.exe /c exit </dev/null >/dev/null 2>&1
        setsid "$launcher" "$build" "$prefix" "$holder" </dev/null >"$ready/verdict" 2>/dev/null &
        read -r verdict <"$ready/verdict"
        verdict="$(printf '%s' "$verdict" | tr -d '\r')"   # a Windows line end
        [ "$verdict" = "desktop held" ] && break
        echo "wine session, attempt $attempt: ${verdict:-the desktop holder ended}"
        "$launcher" "$build" "$prefix" wineserver -k
        if [ "$attempt" -eq "$ATTEMPTS" ]; then
            rm -rf "$ready"
            exit 1
        fi
        attempt=$((attempt + 1))
    done
    rm -rf "$ready"
    echo "wine session started: $prefix" ;;
end)
    "$launcher" "$build" "$prefix" wineserver -k
    echo "wine session ended: $prefix" ;;
esac
