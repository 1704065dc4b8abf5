#!/usr/bin/env python3
"""Draws the menu library's 14 by 14 "SOFTWARE" picture and writes resources/software.bmp.

A program window with a title bar and a gear, on white. White is the colour the menu item
draws as transparent, so the picture itself never uses pure white. The file is a 24-bit
bitmap (BITMAPINFOHEADER, bottom-up, BI_RGB, rows padded to four bytes).

Run from the repository root: python3 scripts/make_menu_picture.py [output.bmp]
"""
import struct
import sys

SIZE = 14

COLOURS = {
    '.': (255, 255, 255),  # transparent
    'F': (29, 63, 138),    # frame
    'T': (47, 111, 214),   # title bar
    'B': (226, 231, 238),  # window body
    'G': (216, 58, 46),    # gear
    'H': (142, 28, 20),    # gear hub
    'Y': (255, 217, 59),   # title bar buttons
}

PICTURE = [
    '..............',
    'FFFFFFFFFFFFF.',
    'FTTTTTTTTYTYF.',
    'FTTTTTTTTTTTF.',
    'FBBBBBBBBBBBF.',
    'FBBBBBGBBBBBF.',
    'FBBBGGGGGBBBF.',
    'FBBBGGHGGBBBF.',
    'FBBGGHHHGGBBF.',
    'FBBBGGHGGBBBF.',
    'FBBBGGGGGBBBF.',
    'FBBBBBGBBBBBF.',
    'FFFFFFFFFFFFF.',
    '..............',
]


def write_bmp(path):
    assert len(PICTURE) == SIZE and all(len(row) == SIZE for row in PICTURE)
    stride = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(PICTURE):  # bottom-up
        line = bytearray()
        for ch in row:
            r, g, b = COLOURS[ch]
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


if __name__ == '__main__':
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else 'resources/software.bmp')
