#!/bin/sh
# The one way this project starts a Windows program, of either build, on this machine.
#
#   wine.sh win32|win64 PREFIX PROGRAM [ARGUMENT...]     run PROGRAM of that build in the prefix
#   wine.sh win32|win64 PREFIX wineserver [ARGUMENT...]  the prefix's server (-k ends it and waits
#                                                        until it has ended, -w waits)
#   wine.sh win32|win64 PREFIX route                     how that build's programs run: "native",
#                                                        "qemu" (through qemu-user), or "none"
#                                                        (i386 programs cannot run here)
#
# Every program starts under wine64, which hands a 32-bit program to Debian's i386 Wine: natively
# where the kernel runs i386 programs, else through qemu-user. On that route every Wine process
# gets the preload library (scripts/wine-preload, built by its CMake preset) that makes a 32-bit
# Wine start in a second instead of minutes, and the programs of the 32-bit build run in a user
# and mount namespace of their own whose private binfmt_misc hands i386 programs to qemu: Wine
# executes the ones it starts by itself (its setup, CreateProcess) directly. The handler is
# seen by no other process on the machine and is gone when the program's last process ends.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
binfmt=/proc/sys/fs/binfmt_misc
handler="$binfmt/qtfile-i386"
qemu=/usr/bin/qemu-i386-static
preload="$top/build/wine-preload"

# An i386 ELF executable or shared object, as qemu's own binfmt description matches it.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# QTFILE_I386_ROUTE=qemu takes the qemu route even where the kernel runs i386 programs, to measure it.
i386_route() {   # native where the kernel runs i386 programs, else qemu where it is installed, else none
    if [ "$QTFILE_I386_ROUTE" = qemu ] && [ -x "$qemu" ]; then
        echo qemu
    elif /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo native
    elif [ -x "$qemu" ]; then
        echo qemu
    else
        echo none
    fi
}

through_qemu() {
    [ "$(i386_route)" = qemu ]
}

# Where scripts/with-display.sh gave a folder for them (QTFILE_DISPLAYS), each prefix has a virtual
# display of its own, started by its first program: the dialogs of one prefix never take the focus
# from another's, so tests in different prefixes may open dialogs at once. The display lives until
# with-display.sh ends it.
prefix_display() {
    key="$QTFILE_DISPLAYS/$(printf '%s' "$prefix" | md5sum | cut -c1-16)"
    (
        flock 9
        if ! [ -s "$key.display" ] || ! kill -0 "$(cat "$key.pid" 2>/dev/null)" 2>/dev/null; then
            rm -f "$key.display"
            setsid Xvfb -displayfd 8 -screen 0 1024x768x24 -ac -nolisten tcp 8>"$key.display" 9>&- \
                </dev/null >/dev/null 2>&1 &
            echo $! >"$key.pid"
            while ! [ -s "$key.display" ]; do
                kill -0 "$(cat "$key.pid")" 2>/dev/null || { echo "wine.sh: Xvfb did not start" >&2; exit 1; }
                sleep 0.05
            done
        fi
    ) 9>"$key.lock" || return 1
    echo ":$(head -n 1 "$key.display")"
}

register_i386_handler() {   # inside the namespace: its own binfmt_misc, seen by nobody else
    mount -t binfmt_misc binfmt_misc "$binfmt"
    # F: the kernel opens qemu now, so it is found from any mount namespace or root.
    printf ':qtfile-i386:M::%s:%s:%s:F' "$I386_MAGIC" "$I386_MASK" "$qemu" >"$binfmt/register"
}

bits="$1" prefix="$2"
shift 2
# A step of this script that fails ends it through set -e, before Wine has printed anything: it
# says which step, so that a test failing in a few hundredths of a second without a word (seen
# twice under load) names where.
stage="reading the arguments"
trap 'status=$?; [ "$status" = 0 ] || echo "wine.sh: $bits ${1##*/}: ended with $status while $stage" >&2' EXIT
case "$bits" in
win32 | win64) ;;
*) echo "usage: $0 win32|win64 PREFIX PROGRAM [ARGUMENT...]" >&2; exit 2 ;;
esac
export WINEPREFIX="$prefix"
# A program started without a display keeps none.
if [ -n "$QTFILE_DISPLAYS" ] && [ -w "$QTFILE_DISPLAYS" ] && [ -n "$DISPLAY" ] && [ "$1" != wineserver ] &&
    [ "$1" != route ] && [ -z "$QTFILE_I386_NAMESPACE" ]; then
    stage="giving the prefix its display"
    DISPLAY="$(prefix_display)" || exit 1
    export DISPLAY
fi
# QTFILE_COUNT_STARTS=FILE: one line a start (the test, the build, the program), to see where time goes.
if [ -n "$QTFILE_COUNT_STARTS" ] && [ -z "$QTFILE_I386_NAMESPACE" ]; then
    printf '%s %s %s %s\n' "${QTFILE_TEST:-none}" "$bits" "${1##*/}" "${2##*/}" \
        2>/dev/null >>"$QTFILE_COUNT_STARTS" || true   # another user may not write it
fi
# Wine says nothing but its diagnostics for users (a display it cannot open, a driver it cannot
# load), so that a test that ends without a word of its own still says why; a WINEDEBUG given
# by the caller is kept.
export WINEDEBUG="${WINEDEBUG:--all,err+winediag}"
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$1" = wineserver ]; then
    trap - EXIT   # the server's own status, which -k makes non-zero when none runs
    shift
    # -k only asks the server to end: wait until it has, so that the next program starts a session
    # of its own instead of meeting one that is going away (the likely cause of a winepath that
    # answered nothing, seen once under load right after -k).
    case "$1" in
    -k*)
        status=0
        /usr/lib/wine/wineserver "$@" || status=$?
        /usr/lib/wine/wineserver -w
        exit $status ;;
    esac
    exec /usr/lib/wine/wineserver "$@"
fi
if [ "$1" = route ]; then
    if [ "$bits" = win32 ]; then i386_route; else echo native; fi
    exit 0
fi

stage="choosing the route"
if [ -n "$QTFILE_I386_NAMESPACE" ]; then
    # The handler is registered only in the namespace made for the program: registered anywhere
    # else, it would send every i386 program on the machine through qemu.
    case "$QTFILE_I386_NAMESPACE" in
    mnt:*) [ "$QTFILE_I386_NAMESPACE" != "$(readlink /proc/self/ns/mnt)" ] ;;
    *) false ;;
    esac || { echo "wine.sh: QTFILE_I386_NAMESPACE is set outside the namespace wine.sh makes" >&2; exit 2; }
    [ -e "$handler" ] || register_i386_handler
elif through_qemu; then
    # The 32-bit route through qemu: no Wine process may re-execute its loader, and each one
    # gets the preload library ($LIB picks its own copy: the i386 one or the empty x86-64 one).
    export WINELOADERNOEXEC=1
    export LD_PRELOAD="$preload/\$LIB/qtfile-preload.so${LD_PRELOAD:+:$LD_PRELOAD}"
    if [ "$bits" = win32 ]; then
        QTFILE_I386_NAMESPACE="$(readlink /proc/self/ns/mnt)"   # the namespace left behind
        export QTFILE_I386_NAMESPACE
        trap - EXIT
        exec unshare --user --map-root-user --mount -- "$0" "$bits" "$prefix" "$@"
    fi
fi
trap - EXIT
# Debian's wine64 (which has no preloader) now and then ends with status 1 a few milliseconds after
# it began, without a word and before the program ran: seen about once in ten full test runs, in
# 10 ms, where no program of either build ever ended in less than 44 ms. Such a start is made
# again, twice at most, and said on standard error; any other ending is the program's.
QUICK_MS="${QTFILE_QUICK_MS:-25}"
STARTS=3
wine64="${QTFILE_WINE64:-/usr/lib/wine/wine64}"   # both set by the launcher's own test only
start=1
while :; do
    began=$(date +%s%N)
    status=0
    "$wine64" "$@" || status=$?
    spent=$((($(date +%s%N) - began) / 1000000))
    [ "$status" = 1 ] && [ "$spent" -lt "$QUICK_MS" ] && [ "$start" -lt "$STARTS" ] || exit "$status"
    echo "wine.sh: $bits ${1##*/}: Wine ended with status 1 after $spent ms, before the program ran; starting it again" >&2
    start=$((start + 1))
done
