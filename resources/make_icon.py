#!/usr/bin/env python3
"""Draws the program icon (a small stage: red curtains, a gold-trimmed valance, a spotlight on a
wooden floor) and writes it as a multi-size .ico of 32-bit bitmaps. Run it to regenerate
stagehost.ico: python3 resources/make_icon.py resources/stagehost.ico"""

import struct
import sys

SIZES = (16, 32, 48)

BACKDROP = (20, 24, 48)
SPOTLIGHT = (255, 226, 140)
FLOOR = (120, 72, 32)
CURTAIN = (178, 24, 40)
CURTAIN_FOLD = (140, 16, 30)
VALANCE = (200, 30, 48)
TRIM = (230, 180, 40)


def pixel_colour(u, v):
    """Colour at the centre of a pixel, u and v running from 0 to 1 left to right, top to bottom."""
    if v < 0.16:
        return VALANCE
    if v < 0.21:
        return TRIM
    drape = 0.12 + 0.22 * (1.0 - v) ** 2 + 0.06
    if u < drape or u > 1.0 - drape:
        fold = int((u if u < 0.5 else 1.0 - u) * 16) % 2
        return CURTAIN_FOLD if fold else CURTAIN
    if ((u - 0.5) / 0.2) ** 2 + ((v - 0.64) / 0.26) ** 2 <= 1.0:
        return SPOTLIGHT
    if v > 0.82:
        return FLOOR
    return BACKDROP


def bitmap_image(size):
    """BITMAPINFOHEADER, then BGRA rows bottom-up, then an all-zero AND mask (every pixel opaque)."""
    rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b = pixel_colour((x + 0.5) / size, (y + 0.5) / size)
            row += bytes((b, g, r, 255))
        rows.append(bytes(row))
    mask_row = bytes(((size + 31) // 32) * 4)
    pixels = b"".join(rows) + mask_row * size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels


def icon_file():
    images = [bitmap_image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "stagehost.ico"
    with open(target, "wb") as out:
        out.write(icon_file())
