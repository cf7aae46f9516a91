#!/bin/sh
# Runs a qtxhost script with $DISK naming a block device through an ordinary name: a link to a
# loop device over a 1 MiB disk image full of a pattern. The module must neither write to it nor
# read it whole: afterwards the image holds its pattern, byte for byte. Needs root and a loop
# device: skipped (77) without them.
# Usage: block_device.sh WORK WINE_SH QTXHOST [ARGUMENT...] (run MODULE SCRIPT among them)
work="$1" wine="$2"
shift 2
skip() {
    echo "block_device: $*: skipped"
    exit 77
}
[ "$(id -u)" = 0 ] || skip "root is needed for a loop device"
rm -rf "$work" && mkdir -p "$work" || exit 1
yes "a disk's own bytes" | head -c 1M >"$work/disk.img"
cp "$work/disk.img" "$work/expected.img"
device="$(losetup --find --show "$work/disk.img" 2>/dev/null)" || skip "no loop device can be had here"
trap 'losetup -d "$device"' EXIT
trap 'exit 1' INT TERM
ln -sfn "$device" "$work/disk"
qtxhost="$1"
shift
"$wine" "$qtxhost" --set "DISK=Z:$(echo "$work/disk" | tr / '\\')" "$@" || exit 1
cmp "$work/expected.img" "$work/disk.img" || { echo "block_device: the disk was written"; exit 1; }
echo "block_device: the disk is as it was"
