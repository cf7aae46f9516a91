#!/bin/sh
# Makes a Wine prefix for the tests, when it is missing or was made by another version of this
# script or of Wine; an up-to-date prefix is kept, with its second drive emptied.
#
#   prepare_prefix.sh win32|win64 PREFIX        a copy of the shared prefix (below)
#   prepare_prefix.sh --own win32|win64 PREFIX  a prefix that Wine makes for the user running this
#   prepare_prefix.sh --share PREFIX            (root, after --own) PREFIX's system files that are
#                                               the shared prefix's byte for byte become links to them
#
# Wine makes one prefix, build/wineprefix-shared, once, through the 32-bit build's route (so that
# it has the 32-bit half, which the 64-bit build's programs leave alone). The others are copies of
# it whose system folder, drive_c/windows (1.3 GB, which Wine writes only while it makes a prefix),
# is hard links to the shared prefix's files, but for the .ini files that programs rewrite in
# place; the rest (the registry, the profile, the drives) is each copy's own. Another user (the
# ordinary user's test) gets a profile of that user's own: Wine makes that prefix, as that user,
# and root then links its system files to the shared ones, which that user may read, not change.
# Wine runs through the launcher's route for the build, so that the 32-bit build's prefix is made
# while Wine can start i386 programs.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
shared="$top/build/wineprefix-shared"
made_by="$(cat "$0" "$top/tests/windows_versions.txt" | md5sum) $(/usr/lib/wine/wine64 --version)"

up_to_date() {   # up_to_date PREFIX
    [ "$(cat "$1/.made-by" 2>/dev/null)" = "$made_by" ]
}

wine() {   # wine BUILD PREFIX PROGRAM [ARGUMENT...]
    "$top/scripts/wine.sh" "$@"
}

# Drive M: starts empty but for M:\fifo, a unix FIFO that nobody reads or writes.
empty_drive_m() {   # empty_drive_m PREFIX
    rm -rf "$1/drive_m" && mkdir "$1/drive_m" && mkfifo "$1/drive_m/fifo"
}

make_prefix() {   # make_prefix BUILD PREFIX: Wine makes it, with the tests' settings in its registry
    wine "$1" "$2" wineboot -i >/dev/null 2>&1
    if [ "$1" = win32 ] && [ ! -f "$2/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "the prefix has no 32-bit system: Wine could not start i386 programs while making it"
        exit 1
    fi
    registry="$2/qtx.reg"
    printf 'REGEDIT4\n' >"$registry"
    # No window manager runs on the virtual display: Wine must not wait for one at every window.
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >>"$registry"
    # A crash ends its test at once, its backtrace in the log: no crash dialog waits for a click.
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n' >>"$registry"
    # Through qemu, Wine's debugger and a crashed 32-bit program wait for each other for ever: there a
    # crash ends its test at once with no debugger, Wine's line naming the exception and its address.
    if [ "$(wine "$1" "$2" route)" = qemu ]; then
        printf '\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\n"Debugger"=""\n' >>"$registry"
    fi
    # Copies named PROGRAM-VERSION.exe run as that Windows version (the list: windows_versions.txt).
    grep -v '^#' "$top/tests/windows_versions.txt" | while read -r program versions; do
        for version in $versions; do
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s-%s.exe]\n"Version"="%s"\n' \
                "$program" "$version" "$version" >>"$registry"
        done
    done
    # The CD-ROM drives among the drives below.
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' >>"$registry"
    printf '"%s"="cdrom"\n' g: i: j: k: >>"$registry"
    wine "$1" "$2" regedit /S "$registry"
    wine "$1" "$2" wineserver -k   # saves the registry; Wine reads the drive types when it starts again
    test -d "$2/drive_c/windows"
}

make_shared() {   # the shared prefix, made when missing or out of date, by one run at a time
    mkdir -p "$top/build"
    flock -o "$shared.lock" "$0" --make-shared
}

copy_shared() {   # copy_shared PREFIX: the shared prefix's files, those of its system folder as links
    cp -al "$shared/." "$1"
    rm -f "$1/wineserver"   # Debian's Wine names there the folder of the shared prefix's server
    find "$1" -type f \( ! -path "$1/drive_c/windows/*" -o -name "*.ini" \) -exec sh -c \
        'for file; do cp -p "$file" "$file.own" && mv -f "$file.own" "$file"; done' sh {} +
}

share() {   # share PREFIX: its system files that are the shared prefix's byte for byte become links
    (cd "$shared/drive_c/windows" && find . -type f ! -name "*.ini") | while IFS= read -r file; do
        own="$1/drive_c/windows/$file" common="$shared/drive_c/windows/$file"
        [ "$own" -ef "$common" ] || ! cmp -s "$own" "$common" || ln -f "$common" "$own"
    done
}

# Drive M: is a second drive, a folder of the prefix, for moves between drives. Drives for the
# CD-ROM lookup are folders whose .windows-label is the volume name: H: is a fixed drive; G:, I:,
# J: and K: are CD-ROM drives. G: has no disc in it: an empty folder, which Wine reads as a disc
# without a name and qtxhost plays as not ready ("play empty-drives on"). J: holds a disc without
# a name, with one file on it.
make_drives() {   # make_drives PREFIX
    empty_drive_m "$1"
    ln -sfn ../drive_m "$1/dosdevices/m:"
    for disc in g: h:QTX_DISC i:qtx_disc j: k:QTX_Disc; do   # DRIVE:LABEL
        drive="${disc%%:*}" label="${disc#*:}"
        mkdir -p "$1/discs/$drive"
        [ -z "$label" ] || printf '%s\n' "$label" >"$1/discs/$drive/.windows-label"
        ln -s "$1/discs/$drive" "$1/dosdevices/$drive:"
    done
    printf 'a disc without a name\n' >"$1/discs/j/readme.txt"
}

case "$1" in
--make-shared)   # under make_shared's lock
    up_to_date "$shared" && exit 0
    wine win32 "$shared" wineserver -k 2>/dev/null || true
    rm -rf "$shared"
    make_prefix win32 "$shared"
    printf '%s' "$made_by" >"$shared/.made-by"
    exit 0 ;;
--share)
    make_shared
    share "$2"
    exit 0 ;;
--own)
    own=yes
    shift ;;
esac
build="$1" prefix="$2"
if up_to_date "$prefix"; then
    empty_drive_m "$prefix"
    echo "wine prefix up to date: $prefix"
    exit 0
fi
wine "$build" "$prefix" wineserver -k 2>/dev/null || true
rm -rf "$prefix"
if [ -n "$own" ]; then
    make_prefix "$build" "$prefix"
else
    make_shared
    copy_shared "$prefix"
fi
make_drives "$prefix"
printf '%s' "$made_by" >"$prefix/.made-by"
echo "wine prefix made: $prefix"
