#!/usr/bin/env python3
"""Draws the picture at the top of the About dialog: resources/About.bmp.

A banner of 320 x 96 pixels: a deep blue to teal gradient with soft light
bands, the program's emblem (the shutter and quill of tools/make_icon.py,
drawn at 72 pixels) on the left, and on the right a capture frame with its
eight handles around a small, lighter "captured" rectangle. No text: the
dialog's own controls carry the name and version.

The output is an uncompressed 24-bit bottom-up BMP with a 40-byte header,
the form the program's bitmap loader reads. Only the standard library is
used; the output is deterministic.

    python3 tools/make_about_bitmap.py [OUTPUT.bmp]
"""

import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_icon  # noqa: E402

WIDTH = 320
HEIGHT = 96
EMBLEM = 72
EMBLEM_AT = (14, 12)
FRAME = (150, 18, 296, 78)           # left, top, right, bottom (exclusive)
HANDLE = 3                           # half the side of a handle square

TOP = (0x10, 0x2A, 0x55)
BOTTOM = (0x1C, 0x6E, 0x8C)
BAND = (0xFF, 0xFF, 0xFF)
FRAME_LINE = (0xF2, 0xF6, 0xFF)
FRAME_DARK = (0x0B, 0x1A, 0x30)
CAPTURED = (0x7F, 0xB8, 0xE6)
HANDLE_FILL = (0xFF, 0xFF, 0xFF)


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def background(x, y):
    colour = lerp(TOP, BOTTOM, y / (HEIGHT - 1))
    # Two soft diagonal light bands.
    for offset, strength in ((120.0, 0.10), (210.0, 0.06)):
        d = abs((x - y * 0.8) - offset)
        if d < 30.0:
            colour = lerp(colour, BAND, strength * (1.0 - d / 30.0))
    return colour


def frame_pixel(x, y, colour):
    left, top, right, bottom = FRAME
    inside = left <= x < right and top <= y < bottom
    if inside and left + 1 < x < right - 2 and top + 1 < y < bottom - 2:
        # The captured area: lighter, with a faint grid like a screen.
        colour = lerp(colour, CAPTURED, 0.45)
        if (x - left) % 12 == 0 or (y - top) % 12 == 0:
            colour = lerp(colour, FRAME_LINE, 0.12)
    on_edge = inside and (x in (left, right - 1) or y in (top, bottom - 1))
    if on_edge:
        # A dashed edge: light dashes on a dark line.
        run = (x + y) // 4
        colour = FRAME_LINE if run % 2 == 0 else FRAME_DARK
    for hx in (left, (left + right - 1) // 2, right - 1):
        for hy in (top, (top + bottom - 1) // 2, bottom - 1):
            if hx == (left + right - 1) // 2 and hy == (top + bottom - 1) // 2:
                continue
            dx, dy = abs(x - hx), abs(y - hy)
            if dx <= HANDLE and dy <= HANDLE:
                colour = FRAME_DARK if HANDLE in (dx, dy) else HANDLE_FILL
    return colour


def render():
    emblem = make_icon.render(EMBLEM)
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = frame_pixel(x, y, background(x, y))
            ex, ey = x - EMBLEM_AT[0], y - EMBLEM_AT[1]
            if 0 <= ex < EMBLEM and 0 <= ey < EMBLEM:
                r, g, b, a = emblem[ey][ex]
                colour = lerp(colour, (r, g, b), a / 255.0)
            row.append(tuple(int(round(min(255.0, max(0.0, c)))) for c in colour))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    stride = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, 'wb') as out:
        out.write(file_header + header + bytes(pixels))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'About.bmp')
    write_bmp(target, render())


if __name__ == '__main__':
    main()
