#!/bin/sh
# Runs a command with drive T: of the test prefix on a 64 KiB tmpfs mounted for it, and
# unmounts it afterwards whatever the outcome. Mounting needs root: where it is refused the
# test is skipped (77), not failed. Usage: full_drive.sh PREFIX MOUNT_POINT COMMAND...
prefix="$1" mountpoint="$2"
shift 2
drive="$prefix/dosdevices/t:"
mkdir -p "$mountpoint"
umount "$mountpoint" 2>/dev/null   # left over from a run that was killed
if ! mount -t tmpfs -o size=64k qtx_full_drive "$mountpoint"; then
    echo "full_drive: cannot mount a 64 KiB tmpfs here (root is needed): skipped"
    exit 77
fi
trap 'rm -f "$drive"; umount "$mountpoint"' EXIT
trap 'exit 1' INT TERM
ln -sfn "$mountpoint" "$drive"
"$@"   # its status is the script's: the EXIT trap keeps it
