#!/bin/sh
# Builds the 32-bit module (the deliverable) and its 64-bit twin with the headless host and tests;
# the 64-bit build writes File.chm, then the 32-bit build packs the release archive with it.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-prerequisites.sh"
cmake -S "$top" -B "$top/build/win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" \
    -DQTFILE_HELP_BUILD="$top/build/win64" >/dev/null
cmake --build "$top/build/win32" -j2
cmake -S "$top" -B "$top/build/win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
    -DQTFILE_TESTS=ON -DQTFILE_WIN32_BUILD="$top/build/win32" >/dev/null
cmake --build "$top/build/win64" -j2
cmake --build "$top/build/win32" --target release
