#!/usr/bin/env python3
"""Draws the program's icon (a parcel with a waybill on it) as an .ico file
with 16x16, 32x32 and 48x48 images: make_icon.py OUT.ico"""
import struct
import sys

BOX = (196, 140, 80)
BOX_DARK = (150, 100, 52)
TAPE = (232, 204, 150)
LABEL = (255, 255, 255)
INK = (40, 70, 150)


def pixel(size, x, y):
    """The colour at (x, y) of a size x size image (y downwards), or None."""
    s = size / 32.0
    u, v = x / s, y / s
    if not (3 <= u < 29 and 6 <= v < 28):
        return None
    if u < 4 or u >= 28 or v < 7 or v >= 27:
        return BOX_DARK
    if 14.5 <= u < 17.5:
        return TAPE
    if 6 <= u < 13.5 and 15 <= v < 24:  # the waybill
        if u < 7 or u >= 12.5 or v < 16 or v >= 23:
            return BOX_DARK
        if int(v) in (17, 19, 21) and u < 11.5:
            return INK
        return LABEL
    return BOX


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(size):
            c = pixel(size, x, y)
            row += bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
        rows.append(bytes(row))
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + mask_row * size


def main(out):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
