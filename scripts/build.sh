#!/bin/sh
# Builds the 32-bit module (the deliverable) and its 64-bit twin, each with the headless host
# and the tests, and the preload library of the 32-bit route (see scripts/wine.sh); the 64-bit
# build writes File.chm, then the 32-bit build packs the release archive with it.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-prerequisites.sh"

# The preload library, as an i386 library and as its empty x86-64 twin, in the folders the
# dynamic linker names $LIB. No i386 headers are needed: the source declares what it calls.
preload_source="$top/scripts/wine-preload/wine_preload.c"
preload="$top/build/wine-preload"
build_preload() {   # build_preload GCC-FLAG LD-EMULATION LIB-FOLDER [LIBRARY...]
    flag="$1" emulation="$2" folder="$preload/lib/$3"
    shift 3
    mkdir -p "$folder"
    gcc "$flag" -fPIC -O2 -Wall -c "$preload_source" -o "$folder/qtfile-preload.o"
    ld -m "$emulation" -shared -o "$folder/qtfile-preload.so" "$folder/qtfile-preload.o" "$@"
}
if [ ! "$preload/lib/i386-linux-gnu/qtfile-preload.so" -nt "$preload_source" ]; then
    build_preload -m32 elf_i386 i386-linux-gnu /lib/i386-linux-gnu/libc.so.6
    build_preload -m64 elf_x86_64 x86_64-linux-gnu
fi

# Each build holds its own tests, run in its own prefix.
cmake -S "$top" -B "$top/build/win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" \
    -DQTFILE_TESTS=ON -DQTFILE_HELP_BUILD="$top/build/win64" >/dev/null
cmake --build "$top/build/win32" -j2
cmake -S "$top" -B "$top/build/win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
    -DQTFILE_TESTS=ON >/dev/null
cmake --build "$top/build/win64" -j2
cmake --build "$top/build/win32" --target release
# build/ holds both builds' tests for one CTest run: ctest --test-dir build [-L win32|-L win64]
echo 'subdirs("win64" "win32")' >"$top/build/CTestTestfile.cmake"
