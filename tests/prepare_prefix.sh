#!/bin/sh
# Makes a fresh Wine prefix for this test run: removes the old one and starts the new one.
set -e
prefix="$1"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$prefix"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1

# Host copies named qtxhost-VERSION.exe run as that Windows version.
registry="$prefix/qtxhost-versions.reg"
printf 'REGEDIT4\n' >"$registry"
for version in win95 win98 winme nt40 win2k winxp win7 win10; do
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\qtxhost-%s.exe]\n"Version"="%s"\n' \
        "$version" "$version" >>"$registry"
done
/usr/lib/wine/wine64 regedit /S "$registry"

# Drive M: is a second drive, a folder of the prefix, for moves between drives.
mkdir -p "$prefix/drive_m"
ln -sfn ../drive_m "$prefix/dosdevices/m:"

/usr/lib/wine/wineserver -w
test -d "$prefix/drive_c/windows"
echo "wine prefix ready: $prefix"
