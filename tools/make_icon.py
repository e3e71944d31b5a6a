#!/usr/bin/env python3
"""Draws the program icon and writes resources/Quillsnapper.ico.

The design is a camera shutter (a blue disc with six swirled aperture
blades around a dark opening) crossed by a cream quill whose nib points to
the lower left. Every size is rendered from the same vector description with
4 x 4 supersampling, so the small sizes are drawn, not scaled down.

The .ico holds 16, 32 and 48 pixel images as 32-bit DIBs (with the 1-bit AND
mask Windows expects) and the 256 pixel image as PNG. Only the standard
library is used; the output is deterministic.

    python3 tools/make_icon.py [OUTPUT.ico]
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
SUPERSAMPLE = 4


def mix(under, over):
    """Source-over of two straight-alpha RGBA colours (floats 0..1)."""
    oa = over[3]
    if oa <= 0.0:
        return under
    ua = under[3] * (1.0 - oa)
    a = oa + ua
    return tuple((over[i] * oa + under[i] * ua) / a for i in range(3)) + (a,)


def rgb(hex_colour, alpha=1.0):
    value = int(hex_colour.lstrip('#'), 16)
    return ((value >> 16 & 255) / 255.0, (value >> 8 & 255) / 255.0, (value & 255) / 255.0, alpha)


RING = rgb('#173A6B')
BLADE_LIGHT = rgb('#3F7FD0')
BLADE_DARK = rgb('#2A5FA8')
OPENING = rgb('#0B1A30')
GLINT = rgb('#9CC8FF')
VANE = rgb('#F7F1E1')
VANE_EDGE = rgb('#7A6A48')
SHAFT = rgb('#6B5B3A')
NIB = rgb('#2E2E2E')

# The quill runs from its nib (lower left) to its top (upper right), in the
# icon's unit square with y pointing down.
QUILL_START = (-0.66, 0.66)
QUILL_END = (0.74, -0.74)


def hexagon_distance(x, y, angle):
    """Distance function of a regular hexagon: its apothem at the point."""
    best = 0.0
    for k in range(6):
        a = angle + k * math.pi / 3.0
        best = max(best, x * math.cos(a) + y * math.sin(a))
    return best


def quill(x, y):
    """Colour of the quill at (x, y), or None outside it."""
    sx, sy = QUILL_START
    ex, ey = QUILL_END
    dx, dy = ex - sx, ey - sy
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    px, py = x - sx, y - sy
    u = (px * ux + py * uy) / length        # 0 at the nib, 1 at the top
    v = (px * -uy + py * ux)                # signed distance across the shaft
    if u < 0.0 or u > 1.0:
        return None
    if u < 0.2:                             # the nib: a narrow wedge
        half = 0.055 * u / 0.2
        if abs(v) <= half:
            return NIB
        return None
    # The vane: wider on one side, tapering at both ends.
    t = (u - 0.2) / 0.8
    shape = math.sin(math.pi * min(1.0, t * 1.08)) ** 0.65 if t < 0.925 else 0.0
    half = (0.20 if v < 0 else 0.14) * shape
    if abs(v) <= 0.022:
        return SHAFT
    if abs(v) <= half:
        if abs(v) >= half - 0.035:
            return VANE_EDGE
        # A few barb lines across the vane.
        barb = (u * 14.0 + abs(v) * 9.0) % 1.0
        return VANE if barb > 0.12 else rgb('#E4D9BE')
    return None


def sample(x, y):
    """Colour at the point (x, y) of the unit square [-1, 1] x [-1, 1]."""
    colour = (0.0, 0.0, 0.0, 0.0)
    r = math.hypot(x, y)
    if r <= 0.94:
        if r >= 0.84:
            colour = RING
        else:
            opening = hexagon_distance(x, y, math.pi / 6.0)
            if opening <= 0.27:
                colour = OPENING
                if math.hypot(x + 0.09, y + 0.09) <= 0.07:
                    colour = GLINT
            else:
                # Six blades whose edges swirl towards the opening.
                theta = math.atan2(y, x) + 1.6 * (0.84 - r)
                sector = int(math.floor(theta / (math.pi / 3.0))) % 6
                colour = BLADE_LIGHT if sector % 2 == 0 else BLADE_DARK
                edge = (theta / (math.pi / 3.0)) % 1.0
                if edge < 0.05:
                    colour = RING
    q = quill(x, y)
    if q is not None:
        colour = mix(colour, q)
    return colour


def render(size):
    """Rows top first, each a list of (r, g, b, a) bytes."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = ((px + (sx + 0.5) / n) / size) * 2.0 - 1.0
                    y = ((py + (sy + 0.5) / n) / size) * 2.0 - 1.0
                    c = sample(x, y)
                    # Average premultiplied colour, then un-premultiply.
                    acc[0] += c[0] * c[3]
                    acc[1] += c[1] * c[3]
                    acc[2] += c[2] * c[3]
                    acc[3] += c[3]
            count = n * n
            a = acc[3] / count
            if a > 0:
                pixel = tuple(int(round(acc[i] / acc[3] * 255)) for i in range(3)) + (int(round(a * 255)),)
            else:
                pixel = (0, 0, 0, 0)
            row.append(pixel)
        rows.append(row)
    return rows


def dib_image(rows):
    """A 32-bit icon image: header with doubled height, XOR bits, AND mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(xor) + bytes(mask)


def png_image(rows):
    size = len(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def write_ico(path):
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_image(rows) if size >= 256 else dib_image(rows)))
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b''
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as out:
        out.write(header + entries + b''.join(data for _, data in images))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'Quillsnapper.ico')
    write_ico(target)


if __name__ == '__main__':
    main()
