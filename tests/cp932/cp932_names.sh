#!/bin/sh
# Runs the names test in a prefix of its own whose ANSI code page is 932 (Japanese): Wine takes
# its code page from the unix locale, and ja_JP.UTF-8 is compiled into the build folder, as the
# system need not have it. Where it cannot be made the test is skipped (77).
# Usage: cp932_names.sh BUILD PREFIX LOCALES BINARY_DIR QTXHOST MODULE SCRIPT
# The prefix is made as the build's own is (scripts/prepare_prefix.sh), under the Japanese locale;
# then its CD-ROM drives I: and K: get labels in kana (J: keeps its disc without a name). It plays
# SCRIPT on MODULE, then runs the well-known directory checks of both platform families.
build="$1" prefix="$2" locales="$3" binaries="$4" qtxhost="$5" module="$6" script="$7"
here="$(cd "$(dirname "$0")" && pwd)"
launcher="$here/../../scripts/wine.sh"
locale=ja_JP.UTF-8

if [ ! -d "$locales/$locale" ]; then
    mkdir -p "$locales"
    if ! localedef -i ja_JP -f UTF-8 "$locales/$locale.new" >"$locales/localedef.log" 2>&1; then
        echo "cp932_names: localedef cannot make $locale here (the package locales is missing?): skipped"
        cat "$locales/localedef.log"
        rm -rf "$locales/$locale.new"
        exit 77
    fi
    mv "$locales/$locale.new" "$locales/$locale"
fi
export LOCPATH="$locales" LANG="$locale" LC_ALL="$locale"

"$here/../../scripts/prepare_prefix.sh" "$build" "$prefix" || exit 1
wine() {
    "$launcher" "$build" "$prefix" "$@"
}
# Wine's mount manager reads each volume's label once, when its session starts: no session may
# outlive the labels, and the one the test starts reads them new. Unix text in UTF-8, which Wine
# turns into code page 932 for the module.
wine wineserver -k 2>/dev/null
printf '%s\n' "ウスエDISC" >"$prefix/discs/i/.windows-label"
printf '%s\n' "テストdisc" >"$prefix/discs/k/.windows-label"
trap 'wine wineserver -k' EXIT
status=0
wine "$qtxhost" --scratch run "$module" "$script" || status=1
for family in win98 win2k; do
    wine "$binaries/info_test-$family.exe" || status=1
done
exit $status
