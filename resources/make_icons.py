#!/usr/bin/python3
"""Turns the text pixel maps division_icon.txt, subtraction_icon.txt and report_icon.txt into
division.ico, subtraction.ico and report.ico, the MAINICON of the two drills and of the
report: the drawn 32 x 32 image, and from it the 16 x 16 and 48 x 48 images that Explorer and
the Start menu show; all 16 colours (4 bits per pixel) with a transparency mask.

A map is 32 lines of 32 characters after any '#' comment lines; each character names one
colour of the standard 16-colour Windows palette (see PALETTE) or '.' for transparent.

Usage: make_icons.py [OUTPUT_DIRECTORY]   (default: the directory of this script)
"""

import os
import struct
import sys

SIZE = 32
# Character, then the colour as (red, green, blue), in the palette's order.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("M", (0x80, 0x00, 0x00)),  # maroon
    ("g", (0x00, 0x80, 0x00)),  # green
    ("O", (0x80, 0x80, 0x00)),  # olive
    ("N", (0x00, 0x00, 0x80)),  # navy
    ("P", (0x80, 0x00, 0x80)),  # purple
    ("T", (0x00, 0x80, 0x80)),  # teal
    ("S", (0xC0, 0xC0, 0xC0)),  # silver
    ("G", (0x80, 0x80, 0x80)),  # grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("L", (0x00, 0xFF, 0x00)),  # lime
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("F", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("C", (0x00, 0xFF, 0xFF)),  # aqua
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
TRANSPARENT = "."
ICONS = {
    "division_icon.txt": "division.ico",
    "subtraction_icon.txt": "subtraction.ico",
    "report_icon.txt": "report.ico",
}


def ReadMap(path):
    with open(path, encoding="utf-8") as f:
        rows = [line.rstrip("\n") for line in f if not line.startswith("#")]
    rows = [row for row in rows if row]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: expected {SIZE} lines of {SIZE} characters")
    known = {c for c, _ in PALETTE} | {TRANSPARENT}
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c not in known:
                sys.exit(f"{path}:{y + 1}: unknown colour {c!r} at column {x + 1}")
    return rows


def Shrink(rows):
    """Half size: each 2 x 2 block becomes its most frequent visible colour, or transparent
    when fewer than two of its pixels are visible. Ties go to the darker palette entry, so
    that outlines survive."""
    order = [c for c, _ in PALETTE]
    small = []
    for y in range(0, SIZE, 2):
        row = ""
        for x in range(0, SIZE, 2):
            block = [rows[y][x], rows[y][x + 1], rows[y + 1][x], rows[y + 1][x + 1]]
            visible = [c for c in block if c != TRANSPARENT]
            if len(visible) < 2:
                row += TRANSPARENT
            else:
                row += max(visible, key=lambda c: (visible.count(c), -order.index(c)))
        small.append(row)
    return small


def Grow(rows, size):
    """Nearest-neighbour enlargement to size x size."""
    return [
        "".join(rows[y * SIZE // size][x * SIZE // size] for x in range(size))
        for y in range(size)
    ]


def ImageBytes(rows):
    size = len(rows)
    index = {c: i for i, (c, _) in enumerate(PALETTE)}
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    maskStride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # device-independent bitmaps run bottom-up
        pixels = [index.get(c, 0) for c in row]  # transparent pixels are black under the mask
        xor += bytes((pixels[x] << 4) | pixels[x + 1] for x in range(0, size, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c == TRANSPARENT)
        mask += (bits << (maskStride * 8 - size)).to_bytes(maskStride, "big")
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # BITMAPINFOHEADER
        size,
        2 * size,  # colour bitmap and mask together
        1,
        4,
        0,  # BI_RGB
        len(xor) + len(mask),
        0,
        0,
        len(PALETTE),
        0,
    )
    return header + colours + bytes(xor) + bytes(mask)


def IconBytes(rows):
    # The drawn image first: its bytes have not changed since it was the only one.
    images = [
        (SIZE, ImageBytes(rows)),
        (16, ImageBytes(Shrink(rows))),
        (48, ImageBytes(Grow(rows, 48))),
    ]
    directory = struct.pack("<HHH", 0, 1, len(images))  # reserved, type icon, image count
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(image for _, image in images)


def Build(directory):
    here = os.path.dirname(os.path.abspath(__file__))
    for source, target in ICONS.items():
        with open(os.path.join(directory, target), "wb") as f:
            f.write(IconBytes(ReadMap(os.path.join(here, source))))


if __name__ == "__main__":
    Build(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
