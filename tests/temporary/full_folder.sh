#!/bin/sh
# Runs a qtxhost script with $FULL naming a temporary folder that already holds every name the
# prefix "Fil" can give (Fil1.tmp to Filffff.tmp, as Wine's GetTempFileNameA writes them), empty
# but for Fil8067.tmp, which holds another program's data. Afterwards that file must hold it still.
# Usage: full_folder.sh WORK WINE_SH QTXHOST [ARGUMENT...] (run MODULE SCRIPT among them)
work="$1" wine="$2" qtxhost="$3"
shift 3
OTHERS_DATA="another program's data"
rm -rf "$work" && mkdir -p "$work/temp" || exit 1
seq 1 65535 | awk -v folder="$work/temp" '{ printf "%s/Fil%x.tmp\n", folder, $1 }' | xargs touch || exit 1
printf '%s' "$OTHERS_DATA" >"$work/temp/Fil8067.tmp"
"$wine" "$qtxhost" --set "FULL=Z:$(echo "$work/temp" | tr / '\\')" "$@" || exit 1
[ "$(cat "$work/temp/Fil8067.tmp")" = "$OTHERS_DATA" ] || { echo "full_folder: Fil8067.tmp was changed"; exit 1; }
[ "$(find "$work/temp" -name 'Fil*' | wc -l)" = 65535 ] || { echo "full_folder: a file of the prefix was made or lost"; exit 1; }
rm -rf "$work"
echo "full_folder: the folder's files are as they were"
