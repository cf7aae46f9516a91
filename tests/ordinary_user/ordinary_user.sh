#!/bin/sh
# Runs qtxhost as an ordinary user, for what root may do anyway: Wine run as root writes
# read-only files and deletes from folders nobody else may write. It needs root, to act as the
# user "nobody" (setpriv) in a Wine prefix of that user's own, made when missing or out of date
# (its system files shared with the other prefixes: scripts/prepare_prefix.sh); without root the
# test is skipped (77).
# Usage: ordinary_user.sh BUILD USER_FOLDER OTHER_FS_FOLDER QTXHOST [ARGUMENT...]
# The prefix is USER_FOLDER/wineprefix. Its drive C: holds what root lays out for each run, none
# of which that user may change:
#   C:\locked            a folder of root's, holding kept.txt ("kept") and the empty folder empty;
#   C:\readonly.txt      a read-only file of root's ("read-only");
#   C:\locked\mine.txt   a file of the user's ("mine") in that folder, which the user may write
#                        but nothing may be made beside.
# and $OTHER_FS is OTHER_FS_FOLDER, a folder of the user's on another unix file system (/dev/shm),
# emptied.
set -e
build="$1" folder="$2" other="$3"
shift 3
if [ "$(id -u)" != 0 ]; then
    echo "ordinary_user: root is needed to run the test as a second, ordinary user: skipped"
    exit 77
fi
top="$(cd "$(dirname "$0")/../.." && pwd)"
prefix="$folder/wineprefix"
user=nobody group=nogroup
as_user() {
    setpriv --reuid="$user" --regid="$group" --clear-groups env HOME="$folder" "$@"
}

drive="$prefix/drive_c"
rm -rf "$drive/locked" "$drive/readonly.txt"   # root's: the user could not remake the prefix
mkdir -p "$folder"
chown "$user:$group" "$folder"
as_user "$top/scripts/prepare_prefix.sh" --own "$build" "$prefix" >/dev/null
"$top/scripts/prepare_prefix.sh" --share "$prefix"   # its system files become the shared ones
mkdir -p "$drive/locked/empty"
printf 'kept' >"$drive/locked/kept.txt"
printf 'mine' >"$drive/locked/mine.txt"
chown "$user:$group" "$drive/locked/mine.txt"
chmod 555 "$drive/locked"   # nobody writes it: Wine shows it read-only, which the played delete access reads
printf 'read-only' >"$drive/readonly.txt"
chmod 444 "$drive/readonly.txt"
rm -rf "$other"
mkdir "$other"
chown "$user:$group" "$other"
trap 'as_user "$top/scripts/wine.sh" "$build" "$prefix" wineserver -k 2>/dev/null || true; rm -rf "$other"' EXIT
qtxhost="$1"
shift
as_user "$top/scripts/wine.sh" "$build" "$prefix" "$qtxhost" --set "OTHER_FS=Z:$(echo "$other" | tr / '\\')" "$@"
