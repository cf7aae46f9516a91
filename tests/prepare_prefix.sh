#!/bin/sh
# prepare_prefix.sh win32|win64 PREFIX: makes a fresh Wine prefix for this test run of the build:
# removes the old one and starts the new one. A prefix for the 32-bit build is made while Wine can
# start i386 programs (the launcher's route for that build), so that it gets their half.
set -e
build="$1" prefix="$2"
launcher="$(cd "$(dirname "$0")/.." && pwd)/scripts/wine.sh"
wine() {
    "$launcher" "$build" "$prefix" "$@"
}
wine wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wine wineboot -i >/dev/null 2>&1
if [ "$build" = win32 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "the prefix has no 32-bit system: Wine could not start i386 programs while making it"
    exit 1
fi

# Copies named PROGRAM-VERSION.exe (the host, the selector record test) run as that Windows version.
registry="$prefix/qtxhost-versions.reg"
printf 'REGEDIT4\n' >"$registry"
for program in qtxhost selector_record_test; do
for version in win95 win98 winme nt40 win2k winxp win7 win10; do
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s-%s.exe]\n"Version"="%s"\n' \
        "$program" "$version" "$version" >>"$registry"
done
done
wine regedit /S "$registry"

# Drive M: is a second drive, a folder of the prefix, for moves between drives.
mkdir -p "$prefix/drive_m"
ln -sfn ../drive_m "$prefix/dosdevices/m:"

wine wineserver -w
# Drives for the CD-ROM lookup: folders whose .windows-label is the volume name. H: is a fixed
# drive; I:, J: and K: are CD-ROM drives (J: holds a disc without a name).
discs="$prefix/discs"
mkdir -p "$discs/fixed" "$discs/first" "$discs/unnamed" "$discs/second"
printf 'QTX_DISC\n' >"$discs/fixed/.windows-label"
printf 'qtx_disc\n' >"$discs/first/.windows-label"
printf 'QTX_Disc\n' >"$discs/second/.windows-label"
ln -s "$discs/fixed" "$prefix/dosdevices/h:"
ln -s "$discs/first" "$prefix/dosdevices/i:"
ln -s "$discs/unnamed" "$prefix/dosdevices/j:"
ln -s "$discs/second" "$prefix/dosdevices/k:"
drives="$prefix/qtx-drives.reg"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' >"$drives"
printf '"%s"="cdrom"\n' i: j: k: >>"$drives"
# The test of the directory fallbacks runs once as each platform family.
for version in win98 win2k; do
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\info_test-%s.exe]\n"Version"="%s"\n' \
        "$version" "$version" >>"$drives"
done
wine regedit /S "$drives"
wine wineserver -k   # Wine reads the drive types when it starts again
test -d "$prefix/drive_c/windows"
echo "wine prefix ready: $prefix"
