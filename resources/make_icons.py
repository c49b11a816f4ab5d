#!/usr/bin/python3
"""Turns the text pixel maps division_icon.txt, subtraction_icon.txt and report_icon.txt into
division.ico, subtraction.ico and report.ico: one 32 x 32 image each, 16 colours (4 bits per
pixel) with a transparency mask, as the MAINICON of the two drills and of the report.

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


def IconBytes(rows):
    index = {c: i for i, (c, _) in enumerate(PALETTE)}
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # device-independent bitmaps run bottom-up
        pixels = [index.get(c, 0) for c in row]  # transparent pixels are black under the mask
        xor += bytes((pixels[x] << 4) | pixels[x + 1] for x in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c == TRANSPARENT)
        mask += struct.pack(">I", bits)  # rows of 32 bits are already 4-byte aligned
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # BITMAPINFOHEADER
        SIZE,
        2 * SIZE,  # colour bitmap and mask together
        1,
        4,
        0,  # BI_RGB
        len(xor) + len(mask),
        0,
        0,
        len(PALETTE),
        0,
    )
    image = header + colours + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)  # reserved, type icon, one image
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def Build(directory):
    here = os.path.dirname(os.path.abspath(__file__))
    for source, target in ICONS.items():
        with open(os.path.join(directory, target), "wb") as f:
            f.write(IconBytes(ReadMap(os.path.join(here, source))))


if __name__ == "__main__":
    Build(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
