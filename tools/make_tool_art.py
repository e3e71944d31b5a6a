#!/usr/bin/env python3
"""Draws the tool window's art and writes two 32-bit bitmaps (.bmp with
straight alpha, rows bottom first):

  resources/ToolTiles.bmp  the strip of 14 button tiles, 32 x 32 each:
      0 capture the framed area (a frame with a shutter dot)
      1 show the capture frame (a dashed frame with corner handles)
      2 leave framing (a cross)
      3 window capture (a window with a title bar)
      4 full-screen capture (a monitor on its stand)
      5 options (a cog wheel)
      6 open the save folder (a folder)
      7-12 spare tiles (plain dots in the program's colours)
      13 drag-select capture (a dragged rectangle with the pointer)
  resources/ToolLogo.bmp   the maker's logo button, 56 x 36.

Shapes are described as distance tests in tile coordinates and rendered
with 4 x 4 supersampling. Only the standard library is used; the output is
deterministic.

    python3 tools/make_tool_art.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import sys

TILE = 32
COUNT = 14
SS = 4

BLUE = (0x2A, 0x5F, 0xA8)
DARK = (0x17, 0x3A, 0x6B)
LIGHT = (0x9C, 0xC8, 0xFF)
RED = (0xC8, 0x32, 0x32)
CREAM = (0xF7, 0xF1, 0xE1)
GREY = (0x60, 0x60, 0x60)
YELLOW = (0xE8, 0xB8, 0x3A)


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ring(x0, y0, x1, y1, width):
    inner = box(x0 + width, y0 + width, x1 - width, y1 - width)
    outer = box(x0, y0, x1, y1)
    return lambda x, y: outer(x, y) and not inner(x, y)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 < r * r


def segment(ax, ay, bx, by, width):
    def test(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 < (width / 2) ** 2
    return test


def dashed_ring(x0, y0, x1, y1, width, dash):
    edge = ring(x0, y0, x1, y1, width)
    return lambda x, y: edge(x, y) and (int((x + y) / dash) % 2 == 0)


def cog(cx, cy):
    def test(x, y):
        r = math.hypot(x - cx, y - cy)
        a = math.atan2(y - cy, x - cx)
        tooth = 11.5 if math.cos(8 * a) > 0.2 else 9.0
        return 4.5 < r < tooth
    return test


def polygon(points):
    def test(x, y):
        inside = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return inside
    return test


# Each tile: a list of (shape, colour) painted in order.
TILES = [
    [(ring(4, 6, 28, 26, 2.5), BLUE), (disc(16, 16, 5), RED)],
    [(dashed_ring(4, 6, 28, 26, 2, 3), BLUE), (box(2, 4, 7, 9), DARK), (box(25, 4, 30, 9), DARK),
     (box(2, 23, 7, 28), DARK), (box(25, 23, 30, 28), DARK)],
    [(segment(8, 8, 24, 24, 4), RED), (segment(24, 8, 8, 24, 4), RED)],
    [(box(3, 5, 29, 27), DARK), (box(5, 11, 27, 25), CREAM), (disc(25, 8, 1.5), RED)],
    [(box(2, 4, 30, 22), DARK), (box(4, 6, 28, 20), LIGHT), (box(14, 22, 18, 26), GREY),
     (box(9, 26, 23, 28), GREY)],
    [(cog(16, 16), GREY)],
    [(polygon([(3, 9), (12, 9), (14, 12), (29, 12), (29, 26), (3, 26)]), YELLOW),
     (polygon([(3, 14), (29, 14), (29, 26), (3, 26)]), (0xF2, 0xCB, 0x5A))],
] + [[(disc(16, 16, 3 + i), colour)] for i, colour in enumerate([BLUE, DARK, LIGHT, RED, GREY, YELLOW])] + [
    [(dashed_ring(3, 3, 24, 22, 2, 3), BLUE),
     (polygon([(18, 16), (18, 30), (21.5, 26.5), (24, 31), (26, 30), (23.5, 25.5), (28, 25)]), DARK)],
]
assert len(TILES) == COUNT


def render(shapes, width, height):
    """Rows of (r, g, b, a) bytes, top row first."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0]
            cover = 0
            for sy in range(SS):
                for sx in range(SS):
                    x = px + (sx + 0.5) / SS
                    y = py + (sy + 0.5) / SS
                    colour = None
                    for shape, c in shapes:
                        if shape(x, y):
                            colour = c
                    if colour is not None:
                        cover += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if cover:
                row.append(tuple(int(round(acc[i] / cover)) for i in range(3)) +
                           (int(round(255 * cover / (SS * SS))),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as out:
        out.write(header + info + pixels)


def strip():
    tiles = [render(shapes, TILE, TILE) for shapes in TILES]
    return [sum((tile[y] for tile in tiles), []) for y in range(TILE)]


def logo():
    # A blue badge with a cream "V" of two strokes and a red dot.
    shapes = [
        (polygon([(4, 2), (52, 2), (54, 4), (54, 32), (52, 34), (4, 34), (2, 32), (2, 4)]), DARK),
        (segment(15, 9, 26, 28, 5), CREAM),
        (segment(26, 28, 37, 9, 5), CREAM),
        (disc(45, 26, 3.5), RED),
    ]
    return render(shapes, 56, 36)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources')
    write_bmp(os.path.join(folder, 'ToolTiles.bmp'), strip())
    write_bmp(os.path.join(folder, 'ToolLogo.bmp'), logo())


if __name__ == '__main__':
    main()
