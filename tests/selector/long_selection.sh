#!/bin/sh
# Runs a qtxhost script with $FOLDERS naming a folder that holds "fit", four files whose list fits
# the result, and "many", 330 files whose names of 200 characters make a list longer than the
# 65 000 characters the result holds; $LAST is the last name of "fit". The folder's fit.txt and
# many.txt hold names as a person types them into the dialog, each in quotes: the first and
# the last of "fit", every name of "many".
# Usage: long_selection.sh WORK WINE_SH QTXHOST [ARGUMENT...] (run MODULE SCRIPT among them)
work="$1" wine="$2" qtxhost="$3"
shift 3
NAME_DIGITS=196   # with ".txt", 200 characters
rm -rf "$work" && mkdir -p "$work/fit" "$work/many" || exit 1
seq 1 4 | awk -v folder="$work/fit" -v digits=$NAME_DIGITS '{ printf "%s/%0" digits "d.txt\n", folder, $1 }' | xargs touch || exit 1
seq 1 330 | awk -v folder="$work/many" -v digits=$NAME_DIGITS '{ printf "%s/%0" digits "d.txt\n", folder, $1 }' | xargs touch || exit 1
quoted() { awk '{ printf "%s\"%s\"", (NR > 1 ? " " : ""), $0 }'; }
ls "$work/fit" | sed -n '1p;$p' | quoted >"$work/fit.txt" && ls "$work/many" | quoted >"$work/many.txt" || exit 1
"$wine" "$qtxhost" --set "FOLDERS=Z:$(echo "$work" | tr / '\\')" --set "LAST=$(ls "$work/fit" | tail -n 1)" "$@" || exit 1
rm -rf "$work"
