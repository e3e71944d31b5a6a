#!/usr/bin/env python3
"""Draws the skin's glyph picture and writes resources/SkinGlyph.bmp.

The glyph is a 10 x 10 alpha mask of a circular arrow: a ring open at the
upper right, whose clockwise end carries an arrow head. Pixels are black
with the coverage in the alpha byte (the skin tints the mask), rendered with
8 x 8 supersampling. The file is an uncompressed 32-bit DIB with a 40-byte
header, bottom-up rows. Only the standard library is used; the output is
deterministic.

    python3 tools/make_skin_glyph.py [OUTPUT.bmp]
"""

import math
import os
import struct
import sys

SIZE = 10
SUPERSAMPLE = 8
CENTRE = (5.0, 5.0)
RADIUS = 3.4          # middle of the ring
HALF_WIDTH = 0.85     # half the ring's thickness
GAP_FROM = -80.0      # the ring leaves out the angles from GAP_FROM to GAP_TO
GAP_TO = -10.0        # (degrees, y downwards: -90 is straight up)


def in_ring(x, y):
    dx, dy = x - CENTRE[0], y - CENTRE[1]
    distance = math.hypot(dx, dy)
    if abs(distance - RADIUS) > HALF_WIDTH:
        return False
    angle = math.degrees(math.atan2(dy, dx))
    return not (GAP_FROM < angle < GAP_TO)


def arrow_head():
    """The triangle at the ring's end at GAP_TO, pointing along the ring
    towards the gap (counter-clockwise on screen)."""
    a = math.radians(GAP_TO)
    end = (CENTRE[0] + RADIUS * math.cos(a), CENTRE[1] + RADIUS * math.sin(a))
    radial = (math.cos(a), math.sin(a))
    tangent = (math.sin(a), -math.cos(a))   # direction of decreasing angle
    half = 1.9
    tip = (end[0] + tangent[0] * 2.0, end[1] + tangent[1] * 2.0)
    left = (end[0] + radial[0] * half, end[1] + radial[1] * half)
    right = (end[0] - radial[0] * half, end[1] - radial[1] * half)
    return (tip, left, right)


def in_triangle(p, triangle):
    (x1, y1), (x2, y2), (x3, y3) = triangle

    def side(ax, ay, bx, by):
        return (p[0] - bx) * (ay - by) - (ax - bx) * (p[1] - by)

    d1, d2, d3 = side(x1, y1, x2, y2), side(x2, y2, x3, y3), side(x3, y3, x1, y1)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def render():
    head = arrow_head()
    alpha = [[0] * SIZE for _ in range(SIZE)]
    step = 1.0 / SUPERSAMPLE
    for y in range(SIZE):
        for x in range(SIZE):
            hits = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    px, py = x + (sx + 0.5) * step, y + (sy + 0.5) * step
                    if in_ring(px, py) or in_triangle((px, py), head):
                        hits += 1
            alpha[y][x] = (hits * 255 + SUPERSAMPLE * SUPERSAMPLE // 2) // (SUPERSAMPLE * SUPERSAMPLE)
    return alpha


def write_bmp(path, alpha):
    rows = []
    for y in reversed(range(SIZE)):   # bottom-up
        rows.append(b"".join(struct.pack("<BBBB", 0, 0, 0, a) for a in alpha[y]))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "SkinGlyph.bmp")
    alpha = render()
    write_bmp(path, alpha)
    for row in alpha:
        print("".join(" .:-=+*#%@"[min(9, a * 10 // 256)] for a in row))


if __name__ == "__main__":
    main()
