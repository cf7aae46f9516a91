#!/bin/sh
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
set -e

missing=""
need() {   # need PACKAGE TEST-COMMAND...
    package="$1"
    shift
    "$@" >/dev/null 2>&1 || missing="$missing $package"
}

need cmake command -v cmake
need g++-mingw-w64-i686 command -v i686-w64-mingw32-g++
need gcc-mingw-w64-i686 command -v i686-w64-mingw32-gcc
need g++-mingw-w64-x86-64 command -v x86_64-w64-mingw32-g++
need gcc-mingw-w64-x86-64 command -v x86_64-w64-mingw32-gcc
need binutils-mingw-w64-i686 command -v i686-w64-mingw32-windres
need wine64 test -x /usr/lib/wine/wine64
need xvfb command -v Xvfb
need python3-pefile /usr/bin/python3 -c "import pefile"
need fp-utils command -v chmcmd
need libchm-bin command -v extract_chmLib

[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
