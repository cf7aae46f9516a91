#!/bin/sh
# Plays names, cuts and selectors in one ANSI code page, in a prefix of the code page's own. Wine
# takes each program's code page from its unix locale: each runs under the locale of its code
# page, compiled with localedef into the build folder (the system need not have it).
# Where the locale cannot be made the test is skipped (77).
# Usage: code_page_names.sh CODE_PAGE BUILD PREFIX LOCALES BINARY_DIR QTXHOST MODULE
# In a folder of its own it makes, from the unix side in UTF-8, the folders Ābc (A with a macron,
# which no code page here but UTF-8 spells) and Abc side by side, and plays unspelt_names.qtxs
# (utf8_names.qtxs in UTF-8, 65001); a double-byte code page also plays double_byte_names.qtxs
# with its characters, and 932 its CD-ROM labels in kana (cp932_labels.qtxs) and the well-known
# directory checks of both families.
code_page="$1" build="$2" prefix="$3" locales="$4" binaries="$5" qtxhost="$6" module="$7"
here="$(cd "$(dirname "$0")" && pwd)"
launcher="$here/../../scripts/wine.sh"

# Each code page's locale and two of its characters, written in UTF-8 (with a title beyond ASCII,
# which the selectors' dialogs must show as the ANSI code page spells it): TAIL's second byte is 0x5C,
# the byte of '\', BAR's 0x7C, the byte of '|', where the code page has such characters (949 has
# none, and lends two whose second bytes are letters).
case "$code_page" in
1252) locale=C.UTF-8 title=Café ;;   # é is E9, which the OEM code page 437 reads as Θ
932) locale=ja_JP.UTF-8 tail=表 bar=ポ ;;
936) locale=zh_CN.UTF-8 tail=乗 bar=億 ;;
949) locale=ko_KR.UTF-8 tail=갂 bar=갵 ;;
950) locale=zh_TW.UTF-8 tail=許 bar=四 ;;
65001) locale=hi_IN.UTF-8 ;;   # a Windows locale without an ANSI code page: Wine gives UTF-8
*) echo "code_page_names: no locale for code page $code_page"; exit 1 ;;
esac

# The code page's own prefix, made under the locale the tests were started in.
"$here/../../scripts/prepare_prefix.sh" "$build" "$prefix" || exit 1
if [ "$locale" != C.UTF-8 ]; then
    if [ ! -d "$locales/$locale" ]; then
        mkdir -p "$locales"
        made="$locales/$locale.new.$$"   # the other build may make the same locale meanwhile
        if ! localedef -i "${locale%.*}" -f UTF-8 "$made" >"$made.log" 2>&1; then
            echo "code_page_names: localedef cannot make $locale here (the package locales is missing?): skipped"
            cat "$made.log"
            rm -rf "$made" "$made.log"
            exit 77
        fi
        mv -T "$made" "$locales/$locale" 2>/dev/null || rm -rf "$made"
        rm -f "$made.log"
    fi
    export LOCPATH="$locales"
fi
export LANG="$locale" LC_ALL="$locale"

wine() {
    "$launcher" "$build" "$prefix" "$@"
}
wine wineserver -k 2>/dev/null   # Wine reads the discs' labels when it starts
if [ "$code_page" = 932 ]; then
    printf '%s\n' "ウスエDISC" >"$prefix/discs/i/.windows-label"
    printf '%s\n' "テストdisc" >"$prefix/discs/k/.windows-label"
fi
trap 'wine wineserver -k' EXIT
work="$binaries/code_pages/$code_page"
rm -rf "$work" && mkdir -p "$work/Ābc" "$work/Abc" && cd "$work" || exit 1
printf chosen >Ābc/report.txt
printf b >Ābc/b.txt
printf other >Abc/report.txt
# The Windows names of a unix folder, long (-w) or short (-s); a script given no name would play
# every line against the empty name, so an empty answer stops the test here.
windows_name() {
    name="$(wine winepath "$1" "$2" | tr -d '\r')"
    [ -n "$name" ] || { echo "code_page_names: winepath $1 gave no name for $2" >&2; exit 1; }
    printf '%s' "$name"
}
# The folder is drive Q: of the code page's prefix. Wine's folder browser follows changes in the
# folders it shows: under the build folder, where other tests make and remove files, its selection
# moved to a parent folder now and then. A drive of its own shows only this test's folders.
ln -sfn "$work" "$prefix/dosdevices/q:"
folder="Q:"
unspelt="$(windows_name -s "$folder\\Ābc")" || exit 1   # Ābc's short name, which any code page spells
play() {
    wine "$qtxhost" --set "HERE=$folder" --set "UNSPELT=$unspelt" --set "TAIL=$tail" --set "BAR=$bar" \
        --set "TITLE=${title:-$tail$bar}" \
        run "$module" "$here/$1"
}
status=0
if [ "$code_page" = 65001 ]; then
    play utf8_names.qtxs || status=1
else
    play unspelt_names.qtxs || status=1
fi
[ -z "$tail" ] || play double_byte_names.qtxs || status=1
if [ "$code_page" = 932 ]; then
    play cp932_labels.qtxs || status=1
    for family in win98 win2k; do
        wine "$binaries/info_test-$family.exe" || status=1
    done
fi
exit $status
