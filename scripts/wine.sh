#!/bin/sh
# The one way this project starts a Windows program, of either build, on this machine.
#
#   wine.sh win32|win64 PREFIX PROGRAM [ARGUMENT...]   run PROGRAM in the Wine prefix PREFIX
#   wine.sh win32|win64 PREFIX wineserver [ARGUMENT...]  the prefix's server (-k ends it, -w waits)
#   wine.sh handler on|off                                 let Wine start i386 programs by itself
#
# win64 programs run under wine64. win32 programs run under Debian's i386 Wine: natively where
# the kernel runs i386 programs, else through qemu-user. On that route every Wine process gets
# the preload library (scripts/wine-preload, built by scripts/build.sh) that makes a 32-bit
# Wine start in a second instead of minutes, and the programs Wine starts by itself (its own
# services, a program started with CreateProcess) need a binfmt_misc handler that hands i386
# programs to qemu: "handler on" registers it, "handler off" removes it. The handler is
# system-wide, so it is registered only while 32-bit programs run (the 32-bit suite, the tour).
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
binfmt=/proc/sys/fs/binfmt_misc
handler="$binfmt/qtfile-i386"
qemu=/usr/bin/qemu-i386-static
preload="$top/build/wine-preload"

# An i386 ELF executable or shared object, as qemu's own binfmt description matches it.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

kernel_runs_i386() {   # asked of the kernel alone: never while our handler answers for it
    [ ! -e "$handler" ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

handler_on() {
    [ -e "$handler" ] && return 0
    kernel_runs_i386 && return 0
    [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    # F: the kernel opens qemu now, so it is found from any mount namespace or root.
    printf ':qtfile-i386:M::%s:%s:%s:F' "$I386_MAGIC" "$I386_MASK" "$qemu" | as_root tee "$binfmt/register" >/dev/null
}

handler_off() {
    [ -e "$handler" ] || return 0
    echo -1 | as_root tee "$handler" >/dev/null
}

if [ "$1" = handler ]; then
    case "$2" in
    on) handler_on ;;
    off) handler_off ;;
    *) echo "usage: $0 handler on|off" >&2; exit 2 ;;
    esac
    exit 0
fi

bits="$1" prefix="$2"
shift 2
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$1" = wineserver ]; then
    shift
    exec /usr/lib/wine/wineserver "$@"
fi

if [ -x "$qemu" ] && ! kernel_runs_i386; then
    # The 32-bit route through qemu: every Wine process may start an i386 one, which must not
    # re-execute its loader and wants the preload library ($LIB picks each one's own copy).
    export WINELOADERNOEXEC=1
    export LD_PRELOAD="$preload/\$LIB/qtfile-preload.so${LD_PRELOAD:+:$LD_PRELOAD}"
    [ "$bits" = win32 ] && exec "$qemu" /usr/lib/wine/wine "$@"
fi
case "$bits" in
win32) exec /usr/lib/wine/wine "$@" ;;
win64) exec /usr/lib/wine/wine64 "$@" ;;
*) echo "usage: $0 win32|win64 PREFIX PROGRAM [ARGUMENT...]" >&2; exit 2 ;;
esac
