#!/bin/sh
# A power cut seconds after files were moved and renamed onto and within drive P:, an ext4 disk
# image on a loop device: the image is copied as the kernel has written it so far, with no sync,
# its journal is replayed as a restart would (e2fsck), and then a whole copy of every file must be
# on it. The drive commits its journal every second, so a deletion is on disk within a second,
# while data nobody flushed waits for the kernel's write-back (30 s): before the module flushed
# its copies, the moves and the rename from another drive lost their file in most runs (3 of 3
# and 2 of 2 on the two builds). Needs root and loop devices: skipped (77) without them.
#
#   power_cut.sh PREFIX WORK WINE_SH QTXHOST MODULE SCRIPT
set -u
prefix="$1" work="$2" wine="$3" qtxhost="$4" module="$5" script="$6"
SIZE_MB=8
WAIT_S=3
skip() {
    echo "power_cut: $*: skipped"
    exit 77
}
[ "$(id -u)" = 0 ] || skip "root is needed to mount a disk image"
for tool in mkfs.ext4 losetup e2fsck debugfs; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done

drive="$prefix/dosdevices/p:"
mountpoint="$work/mnt"
umount "$mountpoint" 2>/dev/null   # left over from a run that was killed
rm -rf "$work"
mkdir -p "$mountpoint" "$work/side" "$work/expected" "$work/after"
truncate -s 256M "$work/disk.img"
mkfs.ext4 -q -F "$work/disk.img" || exit 1
device="$(losetup --find --show "$work/disk.img" 2>/dev/null)" || skip "no loop device can be had here"
if ! mount -o commit=1 "$device" "$mountpoint"; then
    losetup -d "$device"
    skip "the disk image cannot be mounted"
fi
trap 'rm -f "$drive"; umount "$mountpoint" 2>/dev/null; losetup -d "$device" 2>/dev/null' EXIT
trap 'exit 1' INT TERM

# Each file its own content, on disk before the actions begin: a.bin, d.bin, f.bin and the old
# g.bin on P:, b.bin and c.bin on another file system (this folder's).
for name in a b c d f g; do
    yes "file $name, the user's data" | head -c "${SIZE_MB}M" >"$work/expected/$name.bin"
done
for name in a d f g; do cp "$work/expected/$name.bin" "$mountpoint/"; done
for name in b c; do cp "$work/expected/$name.bin" "$work/side/"; done
sync
ln -sfn "$mountpoint" "$drive"

"$wine" "$qtxhost" --set "SIDE=Z:$(echo "$work/side" | tr / '\\')" run "$module" "$script" || exit 1
sleep "$WAIT_S"
cp --sparse=always "$work/disk.img" "$work/cut.img"   # the power fails
umount "$mountpoint"

e2fsck -fy "$work/cut.img" >"$work/e2fsck.log" 2>&1
[ $? -le 2 ] || { cat "$work/e2fsck.log"; exit 1; }
debugfs -R "rdump / $work/after" "$work/cut.img" >/dev/null 2>&1
failures=0
for name in a b c d f; do
    if find "$work/after" -type f -exec cmp -s "$work/expected/$name.bin" {} \; -print | grep -q .; then
        echo "ok $name.bin: a whole copy is on the disk"
    else
        echo "FAIL $name.bin: no whole copy is on the disk after the power cut"
        failures=$((failures + 1))
    fi
done
ls -l "$work/after"/*
[ -n "${KEEP:-}" ] || rm -rf "$work/disk.img" "$work/cut.img" "$work/after" "$work/side" "$work/expected"
echo "power_cut: $failures failed"
[ "$failures" -eq 0 ]
