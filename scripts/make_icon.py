#!/usr/bin/env python3
"""Draws the program icon (a stack of window frames on a teal tile) and writes
resources/tolvane.ico with 16, 24, 32 and 48 pixel images, 32-bit colour with alpha."""
import struct
import sys


def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0

    def fill(x0, y0, x1, y1, color):
        for y in range(int(round(y0 * s)), int(round(y1 * s))):
            for x in range(int(round(x0 * s)), int(round(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = color

    # Tile with cut corners for a rounded look.
    teal, dark = (0x1F, 0x8A, 0x8F, 255), (0x12, 0x55, 0x5C, 255)
    fill(1, 2, 31, 30, teal)
    fill(2, 1, 30, 31, teal)
    fill(2, 29, 30, 31, dark)
    # Two window frames, the back one offset, each with a title bar.
    white, bar, shade = (0xFF, 0xFF, 0xFF, 255), (0xF2, 0xB1, 0x34, 255), (0xC8, 0xE6, 0xE8, 255)
    fill(10, 5, 27, 19, shade)
    fill(10, 5, 27, 8, bar)
    fill(5, 11, 22, 26, white)
    fill(5, 11, 22, 14, bar)
    # Lines of a document in the front window.
    for y in (17, 20, 23):
        fill(8, y, 19, y + 1, dark)
    return px


def bmp_entry(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in px[y]:
            rows += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(size):
            if px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(rows) + bytes(mask)


def main(out):
    sizes = [16, 24, 32, 48]
    images = [bmp_entry(n) for n in sizes]
    data = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        data += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        data += img
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/tolvane.ico')
