#!/bin/sh
# Builds, then copies a 64 MiB file onto a new name, and a 12-byte file 2000 times onto an existing
# file and onto new names, with "Copy a file" through the 64-bit module under wine64, with
# CopyFileA and with a bare 64 KiB ReadFile/WriteFile loop, and prints the times, their ratios and
# the module's goals.
#
#   benchmark.sh [--disk]
#
# The files live in memory (/dev/shm) where there is such a folder, so that the disk's write-back
# does not blur the comparison (a flush is free there); with --disk, or without /dev/shm, in
# build/win64/bench on the disk, where the module's flush before a swap waits for the disk.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/win64"
"$top/scripts/install-prerequisites.sh"
"$top/scripts/build.sh"
"$top/scripts/prepare_prefix.sh" win64 "$build/wineprefix"
work="$build/bench"
[ "$1" != --disk ] && [ -d /dev/shm ] && work="/dev/shm/qtfile-bench-$$"
mkdir -p "$work"
cd "$work"
status=0
"$build/wine.sh" "$build/copy_benchmark.exe" "$build/QTFILE.qtx" || status=$?
cd "$top"
[ "$work" = "$build/bench" ] || rm -rf "$work"
exit $status
