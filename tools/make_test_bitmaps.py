#!/usr/bin/env python3
"""Writes the small bitmap files that tests/application compiles into its
test executable as bitmap resources (tests/application/bitmaps/*.bmp).

Each file is a BITMAPFILEHEADER followed by a 40-byte BITMAPINFOHEADER and
the pixels; the resource compiler drops the 14-byte file header. The pixel
values are chosen so that a loader which flips rows, swaps channels, ignores
row padding or scales 16-bit channels wrongly gives different bytes. The
tests spell the expected pixels out themselves.

    python3 tools/make_test_bitmaps.py [OUTPUT_FOLDER]
"""

import os
import struct
import sys


def info_header(width, height, bits, compression=0, colours_used=0, image_size=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, image_size, 2835, 2835,
                       colours_used, 0)


def file_bytes(info, extra, pixels):
    offset = 14 + len(info) + len(extra)
    total = offset + len(pixels)
    return struct.pack('<2sIHHI', b'BM', total, 0, 0, offset) + info + extra + pixels


def pad(row):
    return row + b'\0' * (-len(row) % 4)


def bitmap_24_bottom_up():
    # 3 x 2; rows as seen, top first, as (r, g, b). Stored bottom row first,
    # each row 9 bytes padded to 12.
    top = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    bottom = [(10, 20, 30), (255, 255, 255), (0, 0, 0)]
    pixels = b''
    for row in (bottom, top):
        pixels += pad(b''.join(bytes((b, g, r)) for r, g, b in row))
    return file_bytes(info_header(3, 2, 24), b'', pixels)


def bitmap_32_top_down():
    # 2 x 2 with a negative height: stored top row first. Bytes as stored
    # (blue, green, red, alpha): 1..16.
    pixels = bytes(range(1, 17))
    return file_bytes(info_header(2, -2, 32), b'', pixels)


def bitmap_16_565():
    # 3 x 2, 5-6-5 words, bottom-up, each row 6 bytes padded to 8.
    top = [0xF800, 0x07E0, 0x001F]
    bottom = [0x8410, 0x0841, 0xFFFF]
    pixels = b''
    for row in (bottom, top):
        pixels += pad(b''.join(struct.pack('<H', v) for v in row))
    return file_bytes(info_header(3, 2, 16), b'', pixels)


def bitmap_8_palette():
    palette = b''.join(bytes((i, i, i, 0)) for i in range(4))
    pixels = pad(bytes((0, 1))) + pad(bytes((2, 3)))
    return file_bytes(info_header(2, 2, 8, colours_used=4), palette, pixels)


def bitmap_truncated():
    # Claims 4 x 4 at 24 bits (4 rows of 12 bytes) but carries two rows.
    pixels = bytes(range(24))
    return file_bytes(info_header(4, 4, 24), b'', pixels)


def bitmap_bitfields():
    # 16-bit with explicit channel masks (BI_BITFIELDS = 3).
    masks = struct.pack('<III', 0xF800, 0x07E0, 0x001F)
    pixels = pad(struct.pack('<HH', 0xF800, 0x07E0)) + pad(struct.pack('<HH', 0x001F, 0xFFFF))
    return file_bytes(info_header(2, 2, 16, compression=3), masks, pixels)


BITMAPS = {
    'rgb24_bottom_up.bmp': bitmap_24_bottom_up,
    'bgra32_top_down.bmp': bitmap_32_top_down,
    'rgb565.bmp': bitmap_16_565,
    'palette8.bmp': bitmap_8_palette,
    'truncated24.bmp': bitmap_truncated,
    'bitfields16.bmp': bitmap_bitfields,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'tests', 'application', 'bitmaps')
    os.makedirs(folder, exist_ok=True)
    for name, make in BITMAPS.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(make())


if __name__ == '__main__':
    main()
