#!/bin/sh
# Installs, with apt-get, whatever the build and the tests need and this machine lacks: the
# toolchains and the 64-bit Wine first, then the route that runs the 32-bit module (Debian's
# i386 Wine beside the 64-bit one, and qemu-user where the kernel refuses i386 programs).
# A second run installs nothing; no plan that removes a package or changes the 64-bit Wine is
# ever carried out.
set -e

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_install() {   # apt_install APT-GET-ARGUMENTS...
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
apt_update() {
    updated=yes
    # An index that fails to download (the i386 one of the security suite, at times) is left
    # out; the versions chosen below only come from indexes that arrived.
    $sudo apt-get update -qq || echo "some package indexes could not be fetched; going on without them"
}

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
need xvfb command -v xvfb-run
# xvfb-run needs xauth, which the package only recommends.
need xauth command -v xauth
need python3-pefile /usr/bin/python3 -c "import pefile"
need gcc command -v gcc
need fp-utils command -v chmcmd
need libchm-bin command -v extract_chmLib
# The power cut's disk image: made, replayed and read back (tests/crash/power_cut.sh).
need e2fsprogs command -v debugfs
# A zone with daylight saving for the dates beyond the runtime's range (tests/time_zone).
need tzdata test -f /usr/share/zoneinfo/Europe/Berlin
# The sources of the Japanese, Chinese and Korean locales that the code-page tests compile for Wine.
need locales test -f /usr/share/i18n/locales/ja_JP

updated=""
if [ -n "$missing" ]; then
    echo "installing:$missing"
    apt_update
    # shellcheck disable=SC2086
    apt_install $missing
fi

# ---- The 32-bit route ------------------------------------------------------------------------
# i386 Wine must match the installed 64-bit Wine exactly, and every library both architectures
# share (Multi-Arch: same) must have one version in both. When an i386 index is missing (that of
# the security suite fails to download at times) the two copies of such a library differ and apt
# plans to remove the 64-bit Wine. Then the release's own suite is the target for both, and each
# shared library whose amd64 copy is newer than any i386 one is pinned back to the i386 version.

simulate() {   # simulate APT-GET-INSTALL-ARGUMENTS...: true when the plan removes nothing and
               # leaves the 64-bit Wine as it is; the plan is in $work/plan
    apt-get -s install --no-install-recommends "$@" >"$work/plan" 2>&1 || return 1
    ! grep -q '^Remv ' "$work/plan" && ! grep -Eq '^Inst (wine64|libwine) ' "$work/plan"
}

shared_library_pins() {   # shared_library_pins RELEASE: PACKAGE:amd64=VERSION for each to pin back
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "wine32:i386" 2>/dev/null |
        sed -n 's/^\([^ <][^ ]*\):i386$/\1/p' | sort -u >"$work/closure"
    apt-cache -o APT::Default-Release="$1" policy $(sed 's/$/:i386/' "$work/closure") |
        awk '/^[^ ]/ { sub(/:i386:$/, ""); name = $0 } /^  Candidate:/ { print name, $2 }' >"$work/i386"
    dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package} ${Version} ${Multi-Arch}\n' \
        $(sed 's/$/:amd64/' "$work/closure") 2>/dev/null |
        awk '$1 == "ii" && $4 == "same" { sub(/:amd64$/, "", $2); print $2, $3 }' >"$work/amd64"
    while read -r package installed; do
        candidate="$(awk -v p="$package" '$1 == p { print $2 }' "$work/i386")"
        [ -n "$candidate" ] && [ "$candidate" != "(none)" ] || continue
        dpkg --compare-versions "$installed" gt "$candidate" && echo "$package:amd64=$candidate"
    done <"$work/amd64"
}

install_i386_wine() {
    wine_version="$(dpkg-query -W -f '${Version}' wine64)"
    release="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    $sudo dpkg --add-architecture i386
    apt_update
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    set -- "wine32:i386=$wine_version"
    if ! simulate "$@"; then
        # shellcheck disable=SC2046
        set -- -t "$release" "$@" wine64 libwine:amd64 $(shared_library_pins "$release")
        if ! simulate "$@"; then
            echo "refused: apt finds no way to add i386 Wine without removing or changing packages:"
            grep -E '^(Remv|Inst (wine64|libwine) |E:| )' "$work/plan" | head -40
            exit 1
        fi
    fi
    echo "installing: wine32:i386 $wine_version ($(grep -c '^Inst ' "$work/plan") packages): $*"
    # Downgrades happen only on the pinned path above: the shared libraries whose amd64 copy is
    # newer than any i386 one go back to the release's version, or i386 Wine could not be added.
    apt_install --allow-downgrades "$@"
}

[ -x /usr/lib/wine/wine ] || install_i386_wine
if [ "$("$(dirname "$0")/wine.sh" win32 "" route)" = none ]; then
    echo "installing: qemu-user-static (this kernel does not run i386 programs)"
    [ -n "$updated" ] || apt_update
    apt_install qemu-user-static
fi
