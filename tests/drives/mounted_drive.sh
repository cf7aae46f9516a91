#!/bin/sh
# Runs a command with a drive of the test prefix on a 64 KiB tmpfs mounted for it, and
# unmounts it afterwards whatever the outcome. Mounting needs root: where it is refused the
# test is skipped (77), not failed.
# Usage: mounted_drive.sh PREFIX MOUNT_POINT LETTER full|read-only COMMAND...
#   full       the drive starts empty, for copies that fill it;
#   read-only  it holds kept.txt ("kept") and an empty folder kept-dir, and is mounted
#              read-only, as a CD-ROM image is: nothing on it can be deleted, even by root.
prefix="$1" mountpoint="$2" letter="$3" kind="$4"
shift 4
drive="$prefix/dosdevices/$letter:"
mkdir -p "$mountpoint"
umount "$mountpoint" 2>/dev/null   # left over from a run that was killed
if ! mount -t tmpfs -o size=64k "qtx_${kind}_drive" "$mountpoint"; then
    echo "mounted_drive: cannot mount a 64 KiB tmpfs here (root is needed): skipped"
    exit 77
fi
trap 'rm -f "$drive"; umount "$mountpoint"' EXIT
trap 'exit 1' INT TERM
if [ "$kind" = read-only ]; then
    printf 'kept' >"$mountpoint/kept.txt"
    mkdir "$mountpoint/kept-dir"
    mount -o remount,ro "$mountpoint" || exit 1
fi
ln -sfn "$mountpoint" "$drive"
"$@"   # its status is the script's: the EXIT trap keeps it
