#!/bin/sh
# Builds, then copies a 64 MiB file, and a 12-byte file 2000 times, with "Copy a file" through the
# 64-bit module under wine64, with CopyFileA and with a bare 4096-byte fread/fwrite loop, and
# prints the times and their ratios.
# The files live in memory (/dev/shm) where there is such a folder, so that the disk's
# write-back does not blur the comparison; else in build/win64/bench.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/win64"
"$top/scripts/install-prerequisites.sh"
"$top/scripts/build.sh"
"$top/scripts/prepare_prefix.sh" win64 "$build/wineprefix"
work="$build/bench"
[ -d /dev/shm ] && work="/dev/shm/qtfile-bench-$$"
mkdir -p "$work"
cd "$work"
status=0
"$build/wine.sh" "$build/copy_benchmark.exe" "$build/QTFILE.qtx" || status=$?
cd "$top"
[ "$work" = "$build/bench" ] || rm -rf "$work"
exit $status
