#!/bin/sh
# Makes the build's Wine prefix for the tests, when it is missing or was made by another version
# of this script or of Wine; an up-to-date prefix is kept, with its second drive emptied.
# prepare_prefix.sh win32|win64 PREFIX: Wine runs through the launcher's route for that build,
# so the 32-bit build's prefix is made while Wine can start i386 programs and gets their half.
set -e
build="$1" prefix="$2"
launcher="$(cd "$(dirname "$0")" && pwd)/wine.sh"
wine() {
    "$launcher" "$build" "$prefix" "$@"
}
made_by="$(cat "$0" "$(dirname "$0")/../tests/windows_versions.txt" | md5sum) $(/usr/lib/wine/wine64 --version)"
# Drive M: starts empty but for M:\fifo, a unix FIFO that nobody reads or writes.
empty_drive_m() {
    rm -rf "$prefix/drive_m" && mkdir "$prefix/drive_m" && mkfifo "$prefix/drive_m/fifo"
}
if [ "$(cat "$prefix/.made-by" 2>/dev/null)" = "$made_by" ]; then
    empty_drive_m
    echo "wine prefix up to date: $prefix"
    exit 0
fi
wine wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wine wineboot -i >/dev/null 2>&1
if [ "$build" = win32 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "the prefix has no 32-bit system: Wine could not start i386 programs while making it"
    exit 1
fi

registry="$prefix/qtx.reg"
printf 'REGEDIT4\n' >"$registry"
# No window manager runs on the virtual display: Wine must not wait for one at every window.
printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >>"$registry"
# A crash ends its test at once, its backtrace in the log: no crash dialog waits for a click.
printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n' >>"$registry"
# Through qemu, Wine's debugger and a crashed 32-bit program wait for each other for ever: there a
# crash ends its test at once with no debugger, Wine's line naming the exception and its address.
if [ "$(wine route)" = qemu ]; then
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\n"Debugger"=""\n' >>"$registry"
fi
# Copies named PROGRAM-VERSION.exe run as that Windows version (the list: windows_versions.txt).
grep -v '^#' "$(dirname "$0")/../tests/windows_versions.txt" | while read -r program versions; do
    for version in $versions; do
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s-%s.exe]\n"Version"="%s"\n' \
            "$program" "$version" "$version" >>"$registry"
    done
done

# Drive M: is a second drive, a folder of the prefix, for moves between drives. Drives for the
# CD-ROM lookup are folders whose .windows-label is the volume name: H: is a fixed drive; G:, I:,
# J: and K: are CD-ROM drives. G: has no disc in it: an empty folder, which Wine reads as a disc
# without a name and qtxhost plays as not ready ("play empty-drives on"). J: holds a disc without
# a name, with one file on it.
empty_drive_m
ln -sfn ../drive_m "$prefix/dosdevices/m:"
for disc in g: h:QTX_DISC i:qtx_disc j: k:QTX_Disc; do   # DRIVE:LABEL
    drive="${disc%%:*}" label="${disc#*:}"
    mkdir -p "$prefix/discs/$drive"
    [ -z "$label" ] || printf '%s\n' "$label" >"$prefix/discs/$drive/.windows-label"
    ln -s "$prefix/discs/$drive" "$prefix/dosdevices/$drive:"
done
printf 'a disc without a name\n' >"$prefix/discs/j/readme.txt"
printf '\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' >>"$registry"
printf '"%s"="cdrom"\n' g: i: j: k: >>"$registry"
wine regedit /S "$registry"
wine wineserver -k   # saves the registry; Wine reads the drive types when it starts again
test -d "$prefix/drive_c/windows"
printf '%s' "$made_by" >"$prefix/.made-by"
echo "wine prefix made: $prefix"
