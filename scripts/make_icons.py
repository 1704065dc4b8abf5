#!/usr/bin/env python3
"""Draws the 78 fixed 16 by 16 images of the icon strip and writes resources/icons16.bmp.

The file is one 32-bit bitmap (BITMAPINFOHEADER, bottom-up, BI_RGB), 78 * 16 pixels wide and
16 high, image n at x = 16 * n. The fourth byte of each pixel is straight (not premultiplied)
alpha, the form image lists expect; fully transparent pixels are black so that drawing through
the mask alone also looks right. The program derives the masks from the alpha.

Run from the repository root: python3 scripts/make_icons.py [output.bmp]
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_icon  # the program's own picture, reused as its entry in the strip

SIZE = 16
COUNT = 78
SUB = 4  # sub-samples per pixel side for smooth edges


def rgb(text, a=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), a)


def shade(color, f):
    """Darker (f < 1) or lighter (f > 1) version of a colour."""
    r, g, b, a = color
    if f <= 1:
        return (int(r * f), int(g * f), int(b * f), a)
    t = f - 1
    return (int(r + (255 - r) * t), int(g + (255 - g) * t), int(b + (255 - b) * t), a)


# Colours used across pictures.
WHITE, BLACK = rgb('ffffff'), rgb('000000')
PAPER, PAPER_EDGE = rgb('fdfdfd'), rgb('7a8290')
FOLDER, FOLDER_DARK, FOLDER_BACK = rgb('f6c643'), rgb('b8860b'), rgb('e3a92a')
BLUE, DARK_BLUE, SKY = rgb('2f6fd6'), rgb('1d3f8a'), rgb('8fc7f2')
GREEN, DARK_GREEN = rgb('3aa845'), rgb('1f6b2a')
RED, DARK_RED = rgb('d83a2e'), rgb('8e1c14')
GREY, DARK_GREY, LIGHT_GREY = rgb('a9adb4'), rgb('4d525a'), rgb('dfe2e6')
ORANGE, YELLOW, PURPLE = rgb('f08a24'), rgb('ffd93b'), rgb('7b4bb7')


# Letters drawn for this strip: 5 by 7 capitals for tiles, 3 by 5 for file labels.
BIG = {
    'A': ['01110', '10001', '10001', '11111', '10001', '10001', '10001'],
    'B': ['11110', '10001', '10001', '11110', '10001', '10001', '11110'],
    'C': ['01111', '10000', '10000', '10000', '10000', '10000', '01111'],
    'D': ['11110', '10001', '10001', '10001', '10001', '10001', '11110'],
    'F': ['11111', '10000', '10000', '11110', '10000', '10000', '10000'],
    'L': ['10000', '10000', '10000', '10000', '10000', '10000', '11111'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'R': ['11110', '10001', '10001', '11110', '10100', '10010', '10001'],
    'W': ['10001', '10001', '10001', '10101', '10101', '11011', '10001'],
    'X': ['10001', '10001', '01010', '00100', '01010', '10001', '10001'],
    '?': ['01110', '10001', '00001', '00110', '00100', '00000', '00100'],
}
SMALL = {
    'A': ['010', '101', '111', '101', '101'],
    'B': ['110', '101', '110', '101', '110'],
    'C': ['011', '100', '100', '100', '011'],
    'D': ['110', '101', '101', '101', '110'],
    'F': ['111', '100', '110', '100', '100'],
    'I': ['111', '010', '010', '010', '111'],
    'J': ['001', '001', '001', '101', '010'],
    'L': ['100', '100', '100', '100', '111'],
    'M': ['101', '111', '111', '101', '101'],
    'N': ['101', '111', '111', '111', '101'],
    'O': ['010', '101', '101', '101', '010'],
    'P': ['110', '101', '110', '100', '100'],
    'S': ['011', '100', '010', '001', '110'],
    'T': ['111', '010', '010', '010', '010'],
    'V': ['101', '101', '101', '101', '010'],
    'W': ['101', '101', '111', '111', '101'],
    'X': ['101', '101', '010', '101', '101'],
    'Z': ['111', '001', '010', '100', '111'],
    '7': ['111', '001', '010', '010', '010'],
    '+': ['000', '010', '111', '010', '000'],
    '<': ['001', '010', '100', '010', '001'],
    '>': ['100', '010', '001', '010', '100'],
    '/': ['001', '001', '010', '100', '100'],
    '_': ['000', '000', '000', '000', '111'],
    ':': ['000', '010', '000', '010', '000'],
    '\\': ['100', '100', '010', '001', '001'],
}


class Canvas:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def blend(self, x, y, color, cover=1.0):
        if not (0 <= x < SIZE and 0 <= y < SIZE) or cover <= 0:
            return
        sr, sg, sb, sa = color
        sa = sa * cover / 255.0
        dr, dg, db, da = self.px[y][x]
        da /= 255.0
        a = sa + da * (1 - sa)
        if a <= 0:
            return
        mix = lambda s, d: (s * sa + d * da * (1 - sa)) / a
        self.px[y][x] = (mix(sr, dr), mix(sg, dg), mix(sb, db), a * 255)

    def shape(self, inside, color, box=(0, 0, SIZE, SIZE)):
        """Fills every pixel by the share of its sub-samples for which inside(x, y) holds."""
        x0, y0, x1, y1 = (max(0, int(math.floor(v))) if i < 2 else min(SIZE, int(math.ceil(v)))
                          for i, v in enumerate(box))
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) / SUB, y + (sy + 0.5) / SUB):
                            hits += 1
                if hits:
                    self.blend(x, y, color, hits / (SUB * SUB))

    # Coordinates are pixel edges: rect(0, 0, 16, 16) covers the whole image.
    def rect(self, x0, y0, x1, y1, color):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color, (x0, y0, x1, y1))

    def frame(self, x0, y0, x1, y1, color):
        self.rect(x0, y0, x1, y0 + 1, color)
        self.rect(x0, y1 - 1, x1, y1, color)
        self.rect(x0, y0, x0 + 1, y1, color)
        self.rect(x1 - 1, y0, x1, y1, color)

    def round_rect(self, x0, y0, x1, y1, r, color):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, color, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, color):
        self.shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, color,
                   (cx - rx, cy - ry, cx + rx, cy + ry))

    def disc(self, cx, cy, r, color):
        self.ellipse(cx, cy, r, r, color)

    def ring(self, cx, cy, r, width, color):
        self.shape(lambda x, y: r - width <= math.hypot(x - cx, y - cy) <= r, color,
                   (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, points, color):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.shape(inside, color, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, color):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        w = width / 2 + 1
        self.shape(inside, color, (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w))

    def text(self, x, y, s, color, font=SMALL):
        for ch in s:
            glyph = font[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == '1':
                        self.blend(x + gx, y + gy, color)
            x += len(glyph[0]) + 1

    def text_width(self, s, font=SMALL):
        return sum(len(font[ch][0]) + 1 for ch in s) - 1


# Building blocks shared by several pictures.

def page(c, x0=2, x1=14, fold=4, body=PAPER, edge=PAPER_EDGE):
    """A sheet with a folded top-right corner."""
    pts = [(x0, 0.5), (x1 - fold, 0.5), (x1, 0.5 + fold), (x1, 15.5), (x0, 15.5)]
    c.polygon(pts, edge)
    inner = [(x0 + 1, 1.5), (x1 - fold - 0.4, 1.5), (x1 - 1, 1.5 + fold - 0.6), (x1 - 1, 14.5), (x0 + 1, 14.5)]
    c.polygon(inner, body)
    c.polygon([(x1 - fold, 0.5), (x1 - fold, 0.5 + fold), (x1, 0.5 + fold)], shade(body, 0.8))
    c.line(x1 - fold, 0.5, x1 - fold, 0.5 + fold, 0.8, edge)
    c.line(x1 - fold, 0.5 + fold, x1, 0.5 + fold, 0.8, edge)


def text_lines(c, x0, x1, ys, color):
    for i, y in enumerate(ys):
        c.rect(x0, y, x1 - (2 if i % 3 == 2 else 0), y + 1, color)


def labelled_page(c, label, band):
    """A sheet with a coloured band carrying a short file-kind label."""
    page(c)
    text_lines(c, 4, 12, [7, 13], LIGHT_GREY)
    c.rect(1, 8, 15, 14, band)
    w = c.text_width(label)
    c.text(8 - w // 2, 9, label, WHITE)


def tile(c, color, radius=3.0):
    """A rounded square with a darker rim and a lighter top, the ground of program pictures."""
    c.round_rect(0.5, 0.5, 15.5, 15.5, radius, shade(color, 0.65))
    c.round_rect(1.5, 1.5, 14.5, 14.5, radius - 1, color)
    c.round_rect(2, 1.5, 14, 6, 2, shade(color, 1.18))
    c.rect(2, 4.5, 14, 6, color)


def letter_tile(c, color, ch, ink=WHITE):
    tile(c, color)
    c.text(6, 5, ch, shade(color, 0.55), BIG)  # a shadow one pixel down-right
    c.text(5, 4, ch, ink, BIG)


def folder(c, body=FOLDER, back=FOLDER_BACK):
    c.round_rect(0.5, 2.5, 7, 6, 1, shade(back, 0.8))
    c.round_rect(0.5, 3.5, 15.5, 14.5, 1, shade(back, 0.75))
    c.rect(1.5, 4.5, 14.5, 13.5, back)
    c.polygon([(0.5, 14.5), (2.5, 6.5), (15.5, 6.5), (14, 14.5)], shade(body, 0.8))
    c.polygon([(1.5, 13.8), (3.2, 7.4), (14.6, 7.4), (13.3, 13.8)], body)
    c.line(3.4, 8.2, 14.2, 8.2, 0.7, shade(body, 1.4))


def monitor(c, x0, y0, x1, y1, screen=BLUE, stand=True):
    c.round_rect(x0, y0, x1, y1, 1, DARK_GREY)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, screen)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2, shade(screen, 1.35))
    if stand:
        mid = (x0 + x1) / 2
        c.rect(mid - 1, y1, mid + 1, y1 + 1.5, GREY)
        c.rect(mid - 3, y1 + 1.5, mid + 3, y1 + 2.5, DARK_GREY)


def window(c, body=WHITE, bar=BLUE):
    c.round_rect(0.5, 1.5, 15.5, 14.5, 1, shade(bar, 0.6))
    c.rect(1.5, 2.5, 14.5, 13.5, body)
    c.rect(1.5, 2.5, 14.5, 5, bar)
    c.rect(12, 3, 14, 4.5, WHITE)


def gear(c, cx, cy, r, color, hole=WHITE, teeth=8):
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        c.line(cx + math.cos(a) * (r - 1), cy + math.sin(a) * (r - 1),
               cx + math.cos(a) * (r + 0.6), cy + math.sin(a) * (r + 0.6), 1.6, color)
    c.disc(cx, cy, r - 0.3, color)
    c.disc(cx, cy, r * 0.4, hole)


def cylinder(c, x0, y0, x1, y1, color):
    cx, rx = (x0 + x1) / 2, (x1 - x0) / 2
    c.rect(x0, y0 + 1.5, x1, y1 - 1.5, shade(color, 0.8))
    c.ellipse(cx, y1 - 1.5, rx, 1.5, shade(color, 0.8))
    c.rect(x0 + 0.8, y0 + 1.5, x1 - 0.8, y1 - 1.5, color)
    c.ellipse(cx, y1 - 1.5, rx - 0.8, 1.0, color)
    c.ellipse(cx, y0 + 1.5, rx, 1.5, shade(color, 0.7))
    c.ellipse(cx, y0 + 1.5, rx - 0.8, 0.9, shade(color, 1.4))


def card(c, x0, y0, x1, y1, face=WHITE):
    c.round_rect(x0, y0, x1, y1, 1.2, DARK_GREY)
    c.round_rect(x0 + 0.8, y0 + 0.8, x1 - 0.8, y1 - 0.8, 0.8, face)


def heart(c, cx, cy, s, color):
    c.disc(cx - s * 0.5, cy - s * 0.2, s * 0.55, color)
    c.disc(cx + s * 0.5, cy - s * 0.2, s * 0.55, color)
    c.polygon([(cx - s * 1.02, cy), (cx + s * 1.02, cy), (cx, cy + s * 1.2)], color)


def spade(c, cx, cy, s, color):
    c.disc(cx - s * 0.5, cy + s * 0.2, s * 0.55, color)
    c.disc(cx + s * 0.5, cy + s * 0.2, s * 0.55, color)
    c.polygon([(cx - s * 1.02, cy), (cx + s * 1.02, cy), (cx, cy - s * 1.2)], color)
    c.polygon([(cx, cy + s * 0.3), (cx - s * 0.5, cy + s * 1.3), (cx + s * 0.5, cy + s * 1.3)], color)


def globe(c, cx=8, cy=8, r=7):
    c.disc(cx, cy, r, shade(BLUE, 0.7))
    c.disc(cx, cy, r - 0.9, rgb('3f8fe8'))
    c.polygon([(cx - 4, cy - 4), (cx, cy - 5), (cx + 1, cy - 2), (cx - 2, cy + 1), (cx - 4, cy)], GREEN)
    c.polygon([(cx + 2, cy), (cx + 5, cy + 1), (cx + 3, cy + 5), (cx + 1, cy + 3)], GREEN)
    c.ring(cx, cy, r - 0.9, 0.6, rgb('cfe7fb', 120))
    c.ellipse(cx - 2, cy - 3, 2, 1.2, rgb('ffffff', 110))


def magnifier(c, cx, cy, r, handle=DARK_GREY):
    c.line(cx + r * 0.7, cy + r * 0.7, cx + r * 1.9, cy + r * 1.9, 2.0, handle)
    c.disc(cx, cy, r, DARK_GREY)
    c.disc(cx, cy, r - 1, rgb('d9f0ff'))
    c.ellipse(cx - r * 0.3, cy - r * 0.3, r * 0.35, r * 0.25, WHITE)


def landscape(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, SKY)
    c.disc(x1 - 2.5, y0 + 2.2, 1.3, YELLOW)
    c.polygon([(x0, y1), (x0 + (x1 - x0) * 0.35, y0 + (y1 - y0) * 0.35), (x0 + (x1 - x0) * 0.7, y1)], GREEN)
    c.polygon([(x0 + (x1 - x0) * 0.45, y1), (x0 + (x1 - x0) * 0.75, y0 + (y1 - y0) * 0.55), (x1, y1)],
              DARK_GREEN)


def cylinder_stack(c, color):
    cylinder(c, 2, 1, 14, 15, color)
    c.line(2.6, 6.5, 13.4, 6.5, 0.7, shade(color, 0.7))
    c.line(2.6, 10.5, 13.4, 10.5, 0.7, shade(color, 0.7))


# The pictures, in strip order.

def p_folder(c): folder(c)


def p_web_page(c): globe(c)


def p_computer(c):
    monitor(c, 0.5, 1.5, 15.5, 12)
    c.polygon([(3, 3), (9, 3), (3, 8)], rgb('ffffff', 60))


def p_desktop(c):
    c.round_rect(0.5, 1.5, 15.5, 14.5, 1, DARK_GREY)
    c.rect(1.5, 2.5, 14.5, 12, rgb('3a9ad9'))
    c.ellipse(8, 12.5, 8, 4, rgb('48b05a'))
    c.rect(1.5, 11.5, 14.5, 13.5, DARK_BLUE)
    c.rect(2, 12, 4, 13, GREEN)
    for y in (3.5, 7):
        c.rect(3, y, 5.5, y + 2.5, WHITE)
        c.rect(3.5, y + 0.5, 5, y + 1.5, FOLDER)


def p_control_panel(c, ground=LIGHT_GREY):
    c.round_rect(0.5, 1.5, 15.5, 14.5, 1.5, DARK_GREY)
    c.rect(1.5, 2.5, 14.5, 13.5, ground)
    for y, knob, color in ((4.5, 10, RED), (8, 5, GREEN), (11.5, 8.5, BLUE)):
        c.line(3, y, 13, y, 1, DARK_GREY)
        c.round_rect(knob - 1.5, y - 1.8, knob + 1.5, y + 1.8, 0.8, color)


def p_network(c):
    c.line(4, 12, 4, 14, 1, DARK_GREY)
    c.line(12, 12, 12, 14, 1, DARK_GREY)
    c.line(4, 14, 12, 14, 1, DARK_GREY)
    monitor(c, 0.5, 4, 8.5, 10.5, stand=False)
    monitor(c, 7.5, 4, 15.5, 10.5, rgb('3aa0b8'), stand=False)
    c.rect(3, 10.5, 5, 12, GREY)
    c.rect(11, 10.5, 13, 12, GREY)
    globe(c, 8, 3.2, 3.2)


def p_documents(c):
    folder(c)
    c.rect(4, 1, 12, 9, PAPER_EDGE)
    c.rect(5, 2, 11, 9, WHITE)
    text_lines(c, 6, 10, [3, 5, 7], BLUE)
    c.polygon([(1.5, 13.8), (3.2, 7.4), (14.6, 7.4), (13.3, 13.8)], FOLDER)
    c.line(3.4, 8.2, 14.2, 8.2, 0.7, shade(FOLDER, 1.4))


def p_picture_viewer(c):
    window(c, bar=rgb('2d8f9a'))
    landscape(c, 2.5, 6, 13.5, 13)


def p_picture_file(c):
    page(c)
    landscape(c, 3, 6, 13, 13)


def p_text(c):
    page(c)
    text_lines(c, 4, 12, [4, 6, 8, 10, 12], rgb('5577aa'))


def p_bitmap(c):
    page(c)
    colors = [RED, GREEN, BLUE, YELLOW, ORANGE, PURPLE, rgb('27b3c4'), DARK_GREY, rgb('e04c9a')]
    for i, color in enumerate(colors):
        x, y = 4 + (i % 3) * 2.7, 5 + (i // 3) * 2.9
        c.rect(x, y, x + 2.2, y + 2.4, color)


def p_settings_file(c):
    page(c)
    text_lines(c, 4, 12, [4, 6], LIGHT_GREY)
    gear(c, 8, 10.5, 3.4, rgb('6a7280'), PAPER)


def p_missing(c):
    for y in range(1, 15, 2):
        c.rect(2, y, 3, y + 1, GREY)
        c.rect(13, y + 1, 14, y + 2, GREY)
    for x in range(2, 14, 2):
        c.rect(x, 1, x + 1, 2, GREY)
        c.rect(x + 1, 14, x + 2, 15, GREY)
    c.disc(8, 8, 5, RED)
    c.line(5.8, 5.8, 10.2, 10.2, 1.6, WHITE)
    c.line(10.2, 5.8, 5.8, 10.2, 1.6, WHITE)


def p_firefox(c): letter_tile(c, ORANGE, 'F')


def p_safari(c):
    c.disc(8, 8, 7.5, shade(SKY, 0.55))
    c.disc(8, 8, 6.6, WHITE)
    c.disc(8, 8, 5.8, rgb('5fb2f0'))
    for i in range(8):
        a = math.pi * i / 4
        c.line(8 + math.cos(a) * 4.6, 8 + math.sin(a) * 4.6, 8 + math.cos(a) * 5.6, 8 + math.sin(a) * 5.6,
               0.6, WHITE)
    c.polygon([(12, 4), (9.4, 9.4), (6.6, 6.6)], RED)
    c.polygon([(4, 12), (6.6, 6.6), (9.4, 9.4)], WHITE)
    c.disc(8, 8, 0.8, DARK_GREY)


def p_bds(c): letter_tile(c, rgb('c0392b'), 'B')


def p_winrar(c):
    tile(c, rgb('6d2c91'))
    for i, color in enumerate((rgb('e74c3c'), rgb('3498db'), rgb('2ecc71'))):
        y = 3.5 + i * 3.4
        c.round_rect(3, y, 13, y + 3, 0.8, color)
        c.rect(3, y + 1.2, 13, y + 1.8, shade(color, 0.6))
    c.rect(7.5, 2.5, 8.5, 14, rgb('4b2a12'))


def person(c, cx, cy, color):
    c.disc(cx, cy - 3, 2.2, color)
    c.ellipse(cx, cy + 3, 3.5, 3, color)
    c.disc(cx, cy - 3, 1.2, shade(color, 1.35))


def p_messenger(c):
    person(c, 10.5, 6.5, rgb('2e9b3e'))
    person(c, 5.5, 8.5, rgb('2f78d0'))


def p_chrome(c): letter_tile(c, rgb('2ba24c'), 'C', YELLOW)


def p_opera(c): letter_tile(c, rgb('cc1f2f'), 'O')


def p_tolvane(c):
    for y, row in enumerate(make_icon.draw(SIZE)):
        for x, color in enumerate(row):
            if color[3]:
                c.blend(x, y, color)


def p_7zip(c):
    tile(c, rgb('2b2b2b'))
    c.text(4, 6, '7', WHITE)
    c.text(9, 6, 'Z', WHITE)
    c.rect(3, 12, 13, 13, rgb('6fb6e8'))


def p_acrobat(c):
    page(c)
    c.rect(1, 8, 15, 14, rgb('c1121c'))
    c.text(2, 9, 'PDF', WHITE)
    c.line(4, 4, 9, 4, 1, LIGHT_GREY)


def p_calc(c):
    c.round_rect(2, 0.5, 14, 15.5, 1.5, DARK_GREY)
    c.rect(3, 1.5, 13, 14.5, rgb('c7ccd3'))
    c.rect(4, 2.5, 12, 5.5, rgb('a9d99a'))
    c.rect(9, 3.5, 11, 4.5, DARK_GREEN)
    for row in range(3):
        for col in range(3):
            x, y = 4 + col * 2.8, 7 + row * 2.6
            c.rect(x, y, x + 2, y + 1.8, ORANGE if col == 2 else WHITE)


def p_backgammon(c):
    c.round_rect(0.5, 1.5, 15.5, 14.5, 1, rgb('5a3417'))
    c.rect(1.5, 2.5, 14.5, 13.5, rgb('d8b27a'))
    for i in range(5):
        x = 2 + i * 2.5
        color = DARK_RED if i % 2 else WHITE
        c.polygon([(x, 2.5), (x + 2.4, 2.5), (x + 1.2, 7.5)], color)
        c.polygon([(x, 13.5), (x + 2.4, 13.5), (x + 1.2, 8.5)], WHITE if i % 2 else DARK_RED)
    c.disc(5.5, 11.5, 1.4, BLACK)
    c.disc(10.5, 4.5, 1.4, WHITE)


def p_bdeadmin(c):
    cylinder_stack(c, rgb('e0a030'))
    gear(c, 11, 11, 2.8, DARK_BLUE, rgb('e0a030'))


def p_chess(c):
    c.round_rect(0.5, 0.5, 15.5, 15.5, 2, rgb('b98e5c'))
    c.round_rect(1.5, 1.5, 14.5, 14.5, 1.5, rgb('f1dfc0'))
    c.disc(8, 4.5, 2.3, BLACK)
    c.polygon([(6.2, 6), (9.8, 6), (11, 12), (5, 12)], BLACK)
    c.round_rect(3.5, 11.5, 12.5, 13.8, 0.8, BLACK)
    c.ellipse(7.2, 3.8, 0.8, 0.6, rgb('777777'))


def p_checkers(c):
    for y in range(4):
        for x in range(4):
            c.rect(x * 4, y * 4, x * 4 + 4, y * 4 + 4, rgb('333333') if (x + y) % 2 else rgb('e8d9b5'))
    for cx, cy, color in ((6, 6, RED), (10, 10, BLACK), (10, 2.5, RED)):
        c.disc(cx, cy, 2.6, shade(color, 0.6) if color == RED else rgb('888888'))
        c.disc(cx, cy, 1.9, color)


def p_cmd(c):
    c.round_rect(0.5, 1.5, 15.5, 14.5, 1, rgb('2a2f3a'))
    c.rect(1.5, 2.5, 14.5, 4.5, rgb('7a8494'))
    c.rect(1.5, 4.5, 14.5, 13.5, BLACK)
    c.text(2, 6, 'C:\\', LIGHT_GREY)
    c.rect(3, 12, 6, 13, LIGHT_GREY)


def p_control(c): p_control_panel(c, rgb('cfe3f7'))


def p_datapump(c):
    cylinder(c, 0.5, 1, 7, 11, rgb('4a90d9'))
    cylinder(c, 9, 5, 15.5, 15, rgb('e0a030'))
    c.line(4, 13, 8.5, 13, 1.4, GREEN)
    c.polygon([(8, 10.8), (8, 15.2), (10.2, 13)], GREEN)


def p_dbd(c):
    cylinder(c, 1, 1, 11, 12, rgb('4a90d9'))
    c.rect(7, 8, 15.5, 15.5, DARK_GREY)
    c.rect(8, 9, 14.5, 14.5, WHITE)
    for x in (10, 12.2):
        c.rect(x, 9, x + 0.7, 14.5, GREY)
    for y in (10.8, 12.6):
        c.rect(8, y, 14.5, y + 0.7, GREY)


def p_dbexplor(c):
    cylinder_stack(c, rgb('4a90d9'))
    magnifier(c, 8.5, 8.5, 3.2)


def p_delphi(c): letter_tile(c, rgb('b22222'), 'D')


def p_displayswitch(c):
    monitor(c, 0.5, 3, 8.5, 10, rgb('4aa3df'))
    monitor(c, 7.5, 5, 15.5, 12, rgb('2c6fb7'))


def disc_media(c):
    c.disc(8, 8, 7.5, rgb('8c96a3'))
    c.disc(8, 8, 6.7, rgb('dfe6ee'))
    c.shape(lambda x, y: math.atan2(y - 8, x - 8) % math.pi < 0.9 and math.hypot(x - 8, y - 8) < 6.7,
            rgb('b7d7ff', 200))
    c.disc(8, 8, 2, rgb('8c96a3'))
    c.disc(8, 8, 1.2, WHITE)


def p_dvdmaker(c):
    disc_media(c)
    star = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 3.2 if i % 2 == 0 else 1.4
        star.append((11.5 + math.cos(a) * r, 11.5 + math.sin(a) * r))
    c.polygon(star, ORANGE)


def p_media_center(c):
    c.disc(8, 8, 7.5, rgb('1e7d32'))
    c.disc(8, 8, 6.5, rgb('43a047'))
    c.round_rect(3.5, 4.5, 12.5, 11, 1, WHITE)
    c.rect(4.5, 5.5, 11.5, 10, rgb('1e7d32'))
    c.rect(6, 11, 10, 12, WHITE)


def p_excel(c): letter_tile(c, rgb('1d7b44'), 'X')


def p_explorer(c):
    folder(c)
    magnifier(c, 8, 9, 3.3, DARK_BLUE)


def p_freecell(c):
    card(c, 1, 1, 10, 13, rgb('2f5fbf'))
    c.rect(3, 3, 8, 11, rgb('4c7fe0'))
    card(c, 6, 3, 15, 15)
    spade(c, 10.5, 8.5, 2.2, BLACK)


def p_hearts(c):
    card(c, 2, 0.5, 14, 15.5)
    heart(c, 8, 7.5, 3.4, RED)


def p_help_pane(c):
    c.disc(8, 8, 7.5, DARK_BLUE)
    c.disc(8, 8, 6.6, rgb('3b82e0'))
    c.ellipse(8, 5, 4.5, 2.5, rgb('ffffff', 60))
    c.text(6, 4, '?', WHITE, BIG)


def p_media_player(c):
    c.disc(8, 8, 7.5, rgb('c4561a'))
    c.disc(8, 8, 6.6, ORANGE)
    c.ellipse(8, 5, 5, 2.6, rgb('ffffff', 70))
    c.polygon([(6, 4.2), (12, 8), (6, 11.8)], WHITE)


def note(c, x, y, color):
    c.ellipse(x, y, 1.6, 1.2, color)
    c.rect(x + 0.9, y - 6, x + 1.7, y, color)
    c.polygon([(x + 1.7, y - 6), (x + 4, y - 4.5), (x + 4, y - 3.4), (x + 1.7, y - 4.6)], color)


def p_wav(c):
    page(c)
    note(c, 6.5, 12, rgb('7b2fb3'))
    for i, h in enumerate((1.5, 3, 2)):
        c.rect(10 + i * 1.2, 10 - h, 10.8 + i * 1.2, 10 + h, rgb('27b3c4'))


def p_iscsi(c):
    c.round_rect(0.5, 6, 15.5, 13, 1.2, DARK_GREY)
    c.rect(1.5, 7, 14.5, 12, rgb('b8c0ca'))
    c.rect(3, 9, 10, 10, DARK_GREY)
    c.disc(12.5, 9.5, 1, rgb('4cd964'))
    c.line(8, 6, 8, 3, 1.2, BLUE)
    c.line(3, 3, 13, 3, 1.2, BLUE)
    c.disc(3, 3, 1.6, BLUE)
    c.disc(13, 3, 1.6, BLUE)


def p_mahjong(c):
    c.round_rect(2.5, 2.5, 15.5, 15.5, 1.5, rgb('2e7d32'))
    c.round_rect(1, 0.5, 13.5, 13.5, 1.5, rgb('b9ad8c'))
    c.round_rect(1.8, 1.2, 12.7, 12.7, 1, rgb('fbf5e2'))
    c.disc(4.8, 4.3, 1.6, RED)
    c.disc(9.4, 4.3, 1.6, BLUE)
    c.disc(4.8, 9.4, 1.6, GREEN)
    c.disc(9.4, 9.4, 1.6, RED)


def p_mobility(c):
    c.round_rect(2, 2, 14, 11, 1, DARK_GREY)
    c.rect(3, 3, 13, 10, rgb('4aa3df'))
    c.polygon([(0.5, 13.5), (2, 11), (14, 11), (15.5, 13.5)], GREY)
    c.rect(0.5, 13.5, 15.5, 14.5, DARK_GREY)
    c.rect(4, 5, 6, 8, GREEN)
    c.rect(7, 6, 9, 8, YELLOW)
    c.rect(10, 4, 12, 8, ORANGE)


def p_word(c): letter_tile(c, rgb('2b5fb4'), 'W')


def p_doc(c): labelled_page(c, 'DOC', rgb('2b5fb4'))


def p_xls(c):
    page(c)
    c.rect(3, 4, 13, 14, rgb('1d7b44'))
    for x in range(3, 13, 3):
        for y in range(4, 14, 2):
            c.rect(x + 0.6, y + 0.6, x + 2.6, y + 1.6, WHITE if y > 4 else rgb('9fd8b0'))


def p_dll(c):
    page(c)
    gear(c, 6.5, 8, 3, rgb('6a4fb0'), PAPER)
    gear(c, 10.5, 12, 2.2, rgb('9a7fe0'), PAPER, 6)


def p_regedit(c):
    def cube(x, y, color):
        c.polygon([(x, y + 1.5), (x + 3, y), (x + 6, y + 1.5), (x + 3, y + 3)], shade(color, 1.4))
        c.polygon([(x, y + 1.5), (x + 3, y + 3), (x + 3, y + 6.5), (x, y + 5)], color)
        c.polygon([(x + 3, y + 3), (x + 6, y + 1.5), (x + 6, y + 5), (x + 3, y + 6.5)], shade(color, 0.7))
    cube(5, 0.5, rgb('3f7fd9'))
    cube(1.5, 7.5, rgb('2fa8a8'))
    cube(8.5, 7.5, rgb('5b5fd9'))


def p_moviemaker(c):
    c.rect(0.5, 3, 15.5, 13, rgb('2b2b2b'))
    for x in range(1, 16, 3):
        c.rect(x, 3.7, x + 1.6, 5, WHITE)
        c.rect(x, 11, x + 1.6, 12.3, WHITE)
    c.rect(2, 6, 7, 10, rgb('5ab0e8'))
    c.rect(9, 6, 14, 10, rgb('f2a33a'))


def p_sync(c):
    c.shape(lambda x, y: 4.4 <= math.hypot(x - 8, y - 8) <= 6.6 and
            (math.atan2(y - 8, x - 8) % (2 * math.pi)) % math.pi > 0.7, rgb('2e9b3e'))
    c.polygon([(12.6, 5.2), (16, 8.8), (10.2, 8.8)], rgb('2e9b3e'))
    c.polygon([(3.4, 10.8), (0, 7.2), (5.8, 7.2)], rgb('2e9b3e'))


def p_msconfig(c):
    window(c, bar=rgb('5a6b80'))
    for y in (6.5, 9.5):
        c.frame(3, y, 6, y + 2.5, DARK_GREY)
        c.line(3.6, y + 1.3, 4.5, y + 2.1, 0.8, GREEN)
        c.line(4.5, y + 2.1, 5.7, y + 0.3, 0.8, GREEN)
        c.rect(7, y + 1, 13, y + 2, GREY)
    gear(c, 11.5, 11.3, 2.3, rgb('6a7280'))


def p_paint(c):
    c.ellipse(7.5, 8.5, 7, 6, rgb('a8793f'))
    c.ellipse(7.5, 8.5, 6.2, 5.2, rgb('e9c98f'))
    c.disc(10, 11.5, 1.5, WHITE)
    for cx, cy, color in ((4, 7, RED), (7, 5, BLUE), (10.5, 6, GREEN), (4.5, 11, YELLOW)):
        c.disc(cx, cy, 1.4, color)
    c.line(14.5, 0.5, 9.5, 8, 1.3, rgb('7a4a1f'))
    c.line(9.8, 7.6, 8.6, 9.4, 1.6, DARK_GREY)


def p_xml_editor(c):
    page(c)
    c.text(3, 8, '<', ORANGE)
    c.text(6, 8, '/', rgb('c1121c'))
    c.text(9, 8, '>', ORANGE)
    c.line(4, 4, 9, 4, 1, LIGHT_GREY)


def p_snipping(c):
    c.line(4.5, 1, 11, 10, 1.6, rgb('9aa3ad'))
    c.line(11.5, 1, 5, 10, 1.6, rgb('c6ccd3'))
    c.ring(4.5, 12, 2.8, 1.3, RED)
    c.ring(11.5, 12, 2.8, 1.3, RED)
    c.disc(8, 6.5, 0.8, DARK_GREY)


def p_sound_recorder(c):
    c.round_rect(5, 0.5, 11, 10, 3, DARK_GREY)
    c.round_rect(6, 1.5, 10, 9, 2, rgb('9aa3ad'))
    for y in (3, 5, 7):
        c.rect(6.5, y, 9.5, y + 0.6, DARK_GREY)
    c.shape(lambda x, y: 4.6 <= math.hypot(x - 8, y - 7) <= 5.6 and y > 7, DARK_GREY)
    c.rect(7.3, 12, 8.7, 14, DARK_GREY)
    c.rect(5, 14, 11, 15.2, DARK_GREY)
    c.disc(13, 3, 2, RED)


def p_sidebar(c):
    c.round_rect(4, 0.5, 15.5, 15.5, 1.5, rgb('1f2a3a'))
    c.disc(9.8, 4.5, 3, WHITE)
    c.line(9.8, 4.5, 9.8, 2.6, 0.8, BLACK)
    c.line(9.8, 4.5, 11.2, 5.2, 0.8, BLACK)
    c.round_rect(5.5, 8.5, 14, 11, 0.8, rgb('4aa3df'))
    c.round_rect(5.5, 12, 14, 14.5, 0.8, rgb('6cc04a'))
    c.rect(0.5, 3, 3, 13, rgb('4aa3df', 120))


def p_live_startup(c):
    tile(c, rgb('e07b1f'))
    person(c, 8, 8.5, WHITE)


def p_live_mail(c):
    c.round_rect(0.5, 3, 15.5, 13.5, 1, rgb('1f5fa8'))
    c.rect(1.5, 4, 14.5, 12.5, WHITE)
    c.polygon([(1.5, 4), (14.5, 4), (8, 9.5)], rgb('c7dcf5'))
    c.line(1.8, 4.3, 8, 9.2, 0.9, rgb('1f5fa8'))
    c.line(14.2, 4.3, 8, 9.2, 0.9, rgb('1f5fa8'))


def p_live_writer(c):
    page(c)
    text_lines(c, 4, 12, [4, 6, 8], rgb('5577aa'))
    c.line(13.5, 6, 6.5, 13, 2.2, rgb('2b5fb4'))
    c.polygon([(6.5, 11.5), (8, 13), (4.8, 14.8)], rgb('f2c27a'))


def p_photo_gallery(c):
    c.rect(4, 0.5, 15.5, 10, rgb('9aa3ad'))
    c.rect(5, 1.5, 14.5, 9, rgb('e07b1f'))
    c.rect(0.5, 5, 12, 15.5, DARK_GREY)
    c.rect(1.5, 6, 11, 14.5, WHITE)
    landscape(c, 2.5, 7, 10, 13.5)


def p_wscript(c):
    c.round_rect(2, 1, 14, 15, 1, rgb('8a6a2a'))
    c.rect(3, 2, 13, 14, rgb('f4e7c0'))
    c.ellipse(8, 1.6, 6, 1.3, rgb('d8c38a'))
    c.ellipse(8, 14.4, 6, 1.3, rgb('d8c38a'))
    text_lines(c, 4, 12, [4, 6, 8], rgb('8a6a2a'))
    gear(c, 10.5, 11, 2.3, BLUE, rgb('f4e7c0'))


def p_js(c): labelled_page(c, 'JS', rgb('d9a400'))


def p_notepad_plus(c):
    page(c, body=rgb('f1faf0'))
    text_lines(c, 4, 12, [4, 6], rgb('7aa874'))
    c.text(4, 9, '++', rgb('1f8a2e'))


def p_minesweeper(c):
    c.rect(0.5, 0.5, 15.5, 15.5, rgb('8d939b'))
    c.rect(1.5, 1.5, 14.5, 14.5, rgb('c6ccd3'))
    for a in range(4):
        ang = a * math.pi / 4
        c.line(8 - math.cos(ang) * 6, 8 - math.sin(ang) * 6, 8 + math.cos(ang) * 6, 8 + math.sin(ang) * 6,
               1.2, BLACK)
    c.disc(8, 8, 4.2, BLACK)
    c.disc(6.6, 6.6, 1.2, WHITE)


def p_wordpad(c):
    page(c)
    text_lines(c, 4, 12, [4, 6], rgb('2b5fb4'))
    text_lines(c, 4, 11, [8], RED)
    text_lines(c, 4, 12, [10, 12], rgb('2b5fb4'))
    c.line(14.5, 7, 9.5, 13.5, 1.8, ORANGE)
    c.polygon([(9, 12.5), (10.3, 13.6), (8, 15)], DARK_GREY)


def p_ytd(c):
    tile(c, rgb('d62828'))
    c.rect(6.5, 3, 9.5, 8, WHITE)
    c.polygon([(4, 8), (12, 8), (8, 12.5)], WHITE)
    c.rect(4, 12.8, 12, 13.8, WHITE)


def p_rundll(c):
    window(c, bar=rgb('6a7280'))
    gear(c, 8, 9.3, 3.4, rgb('6a7280'))


def p_sticky(c):
    c.polygon([(1, 1), (15, 1), (15, 11), (11, 15), (1, 15)], rgb('c9a500'))
    c.polygon([(1.8, 1.8), (14.2, 1.8), (14.2, 10.6), (10.6, 14.2), (1.8, 14.2)], rgb('fff27a'))
    c.polygon([(11, 15), (11, 11), (15, 11)], rgb('e8d34a'))
    c.rect(1.8, 1.8, 14.2, 3.5, rgb('f5dc3a'))
    text_lines(c, 4, 12, [6, 8.5], rgb('b38f00'))


def p_solitaire(c):
    c.round_rect(0.5, 0.5, 15.5, 15.5, 2, rgb('1b6e2e'))
    card(c, 2.5, 1.5, 13.5, 14.5)
    c.text(4, 3, 'A', RED)
    spade(c, 9, 9.5, 2.2, BLACK)


def p_spider(c):
    card(c, 2, 0.5, 14, 15.5)
    for side in (-1, 1):
        for i, dy in enumerate((-2.5, -0.8, 0.8, 2.5)):
            c.line(8, 8.5, 8 + side * 3.5, 8.5 + dy * 1.3 - 1.2 + i * 0.6, 0.7, BLACK)
            c.line(8 + side * 3.5, 8.5 + dy * 1.3 - 1.2 + i * 0.6, 8 + side * 4.6, 8.5 + dy * 1.6 + 0.8, 0.7,
                   BLACK)
    c.ellipse(8, 9.5, 1.8, 2.4, BLACK)
    c.disc(8, 6.6, 1.3, BLACK)
    c.rect(7.3, 9, 8.7, 10.5, RED)


def p_html_help(c):
    c.round_rect(2, 0.5, 14, 15.5, 1, rgb('5b2c86'))
    c.rect(3, 1.5, 5, 14.5, rgb('3d1a5e'))
    c.rect(12, 2, 13.5, 14.5, rgb('efe8d8'))
    c.text(6, 4, '?', YELLOW, BIG)


def p_icon_editor(c):
    colors = [rgb('e74c3c'), rgb('f1c40f'), rgb('2ecc71'), rgb('3498db')]
    c.rect(0.5, 0.5, 13, 13, DARK_GREY)
    for y in range(4):
        for x in range(4):
            c.rect(1.5 + x * 2.9, 1.5 + y * 2.9, 3.9 + x * 2.9, 3.9 + y * 2.9, colors[(x + y) % 4])
    c.line(15, 6, 8.5, 12.5, 2, ORANGE)
    c.polygon([(7.7, 11.6), (9.4, 13.3), (6.8, 14.2)], rgb('f2c27a'))


def p_generic_program(c):
    window(c)
    c.rect(3, 6.5, 7, 8, LIGHT_GREY)
    c.rect(3, 9, 13, 12, rgb('e8eef7'))
    c.frame(3, 9, 13, 12, GREY)


def p_zip(c):
    folder(c, rgb('f6c643'))
    c.rect(7, 7.4, 10, 13.8, rgb('58606b'))
    for y in range(8, 14, 2):
        c.rect(7.8, y, 9.2, y + 0.9, rgb('e5e7ea'))
    c.rect(7.3, 12, 9.7, 14, rgb('c9a500'))


PICTURES = [
    p_folder, p_web_page, p_computer, p_desktop, p_control_panel, p_network, p_documents,
    p_picture_viewer, p_picture_file, p_text, p_bitmap, p_settings_file, p_missing,
    p_firefox, p_safari, p_bds, p_winrar, p_messenger, p_chrome, p_opera, p_tolvane, p_7zip,
    p_acrobat, p_calc, p_backgammon, p_bdeadmin, p_chess, p_checkers, p_cmd, p_control,
    p_datapump, p_dbd, p_dbexplor, p_delphi, p_displayswitch, p_dvdmaker, p_media_center,
    p_excel, p_explorer, p_freecell, p_hearts, p_help_pane, p_media_player, p_wav, p_iscsi,
    p_mahjong, p_mobility, p_word, p_doc, p_xls, p_dll, p_regedit, p_moviemaker, p_sync,
    p_msconfig, p_paint, p_xml_editor, p_snipping, p_sound_recorder, p_sidebar,
    p_live_startup, p_live_mail, p_live_writer, p_photo_gallery, p_wscript, p_js,
    p_notepad_plus, p_minesweeper, p_wordpad, p_ytd, p_rundll, p_sticky, p_solitaire,
    p_spider, p_html_help, p_icon_editor, p_generic_program, p_zip,
]


def bmp(images):
    width = SIZE * len(images)
    rows = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for img in images:
            for r, g, b, a in img.px[y]:
                a = int(round(a))
                if a == 0:
                    rows += b'\0\0\0\0'
                else:
                    rows += bytes((int(round(b)), int(round(g)), int(round(r)), a))
    info = struct.pack('<IiiHHIIiiII', 40, width, SIZE, 1, 32, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + bytes(rows)


def main(out):
    assert len(PICTURES) == COUNT, len(PICTURES)
    images = []
    for draw in PICTURES:
        c = Canvas()
        draw(c)
        images.append(c)
    with open(out, 'wb') as f:
        f.write(bmp(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/icons16.bmp')
