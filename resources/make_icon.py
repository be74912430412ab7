#!/usr/bin/env python3
"""Draws the program's icon (a page of text with a folded corner) and writes it as
quenwrite.png and quenwrite.ico: one 128 x 128 image, 32 bits per pixel with alpha.

Standard library only, so anyone can remake the icon: python3 resources/make_icon.py
"""
import math
import os
import struct
import zlib

SIZE = 128

# The page: a rounded sheet whose top-right corner is folded down.
PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM = 20.5, 9.5, 107.5, 118.5
PAGE_RADIUS = 7.0
FOLD = 28.0
OUTLINE = 3.0

OUTLINE_COLOUR = (0x3A, 0x4A, 0x5E)
PAGE_TOP_COLOUR = (0xFF, 0xFF, 0xFF)
PAGE_BOTTOM_COLOUR = (0xE6, 0xEC, 0xF3)
FOLD_COLOUR = (0xC4, 0xD0, 0xDE)
TITLE_COLOUR = (0x25, 0x63, 0xC9)
LINE_COLOUR = (0x8D, 0x9B, 0xAE)
CARET_COLOUR = (0x25, 0x63, 0xC9)

# Text lines as (left, right, y centre); the first one, in blue, reads as a heading.
TITLE_LINE = (34, 70, 35)
TEXT_LINES = [(34, 94, 55), (34, 90, 68), (34, 94, 81), (34, 78, 94)]
LINE_HALF_HEIGHT = 3.2
CARET = (85.5, 88.5, 87, 101)  # left, right, top, bottom of the text cursor after the last line


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def rounded_box(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle: negative inside, in pixels."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def fold_cut(x, y):
    """Signed distance to the diagonal that cuts the folded corner off the page."""
    return ((x - y) - (PAGE_RIGHT - FOLD - PAGE_TOP)) / math.sqrt(2)


def page(x, y):
    return max(rounded_box(x, y, PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM, PAGE_RADIUS),
               fold_cut(x, y))


def fold(x, y):
    """The folded flap: the triangle under the cut, with its corner slightly rounded."""
    inner = 1.5
    left = PAGE_RIGHT - FOLD
    bottom = PAGE_TOP + FOLD
    return max(left + inner - x, y - bottom + inner, fold_cut(x, y) + inner) - inner


def bar(x, y, left, right, centre, half_height):
    return rounded_box(x, y, left - half_height, centre - half_height,
                       right + half_height, centre + half_height, half_height)


def coverage(distance):
    return clamp(0.5 - distance)


def over(pixel, colour, alpha):
    """Composites colour with the given alpha over a premultiplied pixel."""
    r, g, b, a = pixel
    keep = 1.0 - alpha
    return (colour[0] * alpha + r * keep, colour[1] * alpha + g * keep,
            colour[2] * alpha + b * keep, alpha + a * keep)


def mix(top, bottom, t):
    return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))


def shade(x, y):
    pixel = (0.0, 0.0, 0.0, 0.0)
    shadow = page(x - 1.5, y - 3.0)
    pixel = over(pixel, (0x10, 0x1C, 0x2C), 0.28 * clamp((2.5 - shadow) / 5.0))

    edge = page(x, y)
    pixel = over(pixel, OUTLINE_COLOUR, coverage(edge))
    paper = mix(PAGE_TOP_COLOUR, PAGE_BOTTOM_COLOUR, clamp((y - PAGE_TOP) / (PAGE_BOTTOM - PAGE_TOP)))
    pixel = over(pixel, paper, coverage(edge + OUTLINE))

    flap = fold(x, y)
    pixel = over(pixel, OUTLINE_COLOUR, coverage(flap))
    pixel = over(pixel, FOLD_COLOUR, coverage(flap + OUTLINE))

    pixel = over(pixel, TITLE_COLOUR, coverage(bar(x, y, *TITLE_LINE, LINE_HALF_HEIGHT + 0.6)))
    for line in TEXT_LINES:
        pixel = over(pixel, LINE_COLOUR, coverage(bar(x, y, *line, LINE_HALF_HEIGHT)))
    left, right, top, bottom = CARET
    pixel = over(pixel, CARET_COLOUR, coverage(rounded_box(x, y, left, top, right, bottom, 1.0)))
    return pixel


def render():
    """Rows of straight (not premultiplied) RGBA bytes, top row first."""
    rows = []
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            r, g, b, a = shade(px + 0.5, py + 0.5)
            if a <= 0.0:
                row += b"\0\0\0\0"
                continue
            row += bytes(round(clamp(c / a, 0, 255)) for c in (r, g, b))
            row.append(round(a * 255))
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    raw = b"".join(b"\0" + row for row in rows)  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(rows):
    """An icon file with one 32-bpp DIB image: BGRA rows bottom-up, then the 1-bpp AND mask."""
    colour = b"".join(
        bytes(b for px in range(SIZE) for b in (row[px * 4 + 2], row[px * 4 + 1],
                                                 row[px * 4], row[px * 4 + 3]))
        for row in reversed(rows))
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for px in range(SIZE):
            bits = (bits << 1) | (row[px * 4 + 3] == 0)
        mask += bits.to_bytes(SIZE // 8, "big")  # 128 bits: already a multiple of 32
    # The DIB's height counts the colour and the mask images together.
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    image = info + colour + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    rows = render()
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "quenwrite.png"), "wb") as out:
        out.write(png(rows))
    with open(os.path.join(here, "quenwrite.ico"), "wb") as out:
        out.write(ico(rows))


if __name__ == "__main__":
    main()
