#!/usr/bin/env python3
"""Draws the object's picture: a red 3.5-inch diskette on magenta, 32 x 32, 24 bits.

Writes a .bmp file (file header, 40-byte info header, 3072 bytes of bottom-up rows);
the resource compiler keeps everything after the 14-byte file header.
"""
import struct
import sys

SIZE = 32
MAGENTA = (255, 0, 255)
RED = (204, 0, 0)
DARK_RED = (128, 0, 0)
SHUTTER = (192, 192, 192)
SHUTTER_SLOT = (64, 64, 64)
LABEL = (255, 255, 255)
LABEL_LINE = (160, 160, 160)


def draw():
    pixels = [[MAGENTA] * SIZE for _ in range(SIZE)]

    def fill(left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                pixels[y][x] = colour

    fill(2, 2, 29, 29, DARK_RED)            # outline
    fill(3, 3, 28, 28, RED)                 # body
    for i in range(4):                      # the cut corner at the top right
        edge = 26 + i
        fill(edge + 1, 2 + i, 29, 2 + i, MAGENTA)
        pixels[2 + i][edge] = DARK_RED
    fill(9, 3, 22, 11, SHUTTER)             # metal shutter
    fill(17, 4, 19, 10, SHUTTER_SLOT)
    fill(6, 15, 25, 28, LABEL)              # paper label
    for y in (18, 21, 24):
        fill(8, y, 23, y, LABEL_LINE)
    return pixels


def bitmap_bytes(pixels):
    rows = b"".join(
        bytes(channel for (r, g, b) in pixels[y] for channel in (b, g, r))
        for y in reversed(range(SIZE)))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(rows), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(bitmap_bytes(draw()))
