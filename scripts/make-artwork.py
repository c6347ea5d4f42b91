#!/usr/bin/env python3
"""Draws the program's own artwork and writes it into src/app/res:
toolbar.bmp (bitmap 102: four 16 x 15 images side by side, 24 bits, the
3-D grey 192,192,192 as background so the toolbar maps it to the button
face) and piconel.ico (icon 117: 16 x 16 and 32 x 32, 32 bits with alpha).
Run it again after changing a drawing; the files are committed."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "src", "app", "res")

GREY = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK = (128, 128, 128)
RED = (200, 40, 40)
GREEN = (0, 150, 0)
BLUE = (40, 80, 200)
YELLOW = (230, 190, 0)


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)


def draw_add_image(c, ox):
    # A picture (sky, sun, hill) with a green plus.
    c.rect(ox + 1, 2, ox + 11, 11, WHITE)
    c.frame(ox + 1, 2, ox + 11, 11, BLACK)
    c.rect(ox + 2, 3, ox + 10, 7, (150, 200, 255))
    c.rect(ox + 8, 4, ox + 9, 5, YELLOW)
    c.rect(ox + 2, 8, ox + 10, 10, GREEN)
    c.rect(ox + 12, 9, ox + 14, 13, (0, 120, 0))
    c.rect(ox + 11, 10, ox + 15, 12, (0, 120, 0))
    c.rect(ox + 13, 10, ox + 13, 12, (120, 230, 120))
    c.rect(ox + 12, 11, ox + 14, 11, (120, 230, 120))


def draw_page_list(c, ox):
    # Three stacked sheets.
    for i, colour in enumerate((DARK, WHITE, WHITE)):
        x0, y0 = ox + 1 + 2 * i, 1 + 2 * i
        c.rect(x0, y0, x0 + 9, y0 + 9, colour)
        c.frame(x0, y0, x0 + 9, y0 + 9, BLACK)
    c.rect(ox + 7, 7, ox + 12, 7, BLUE)
    c.rect(ox + 7, 9, ox + 12, 9, BLUE)
    c.rect(ox + 7, 11, ox + 10, 11, BLUE)


def draw_image_list(c, ox):
    # Rows of small coloured pictures with their names.
    for row, colour in enumerate((RED, GREEN, BLUE)):
        y = 2 + 4 * row
        c.rect(ox + 1, y, ox + 3, y + 2, colour)
        c.frame(ox + 1, y, ox + 3, y + 2, BLACK)
        c.rect(ox + 6, y + 1, ox + 14, y + 1, BLACK)


def draw_output(c, ox):
    # A sheet of four packed sprites and an arrow out of it.
    c.rect(ox + 1, 1, ox + 9, 9, WHITE)
    c.frame(ox + 1, 1, ox + 9, 9, BLACK)
    c.rect(ox + 2, 2, ox + 4, 4, RED)
    c.rect(ox + 5, 2, ox + 8, 4, BLUE)
    c.rect(ox + 2, 5, ox + 5, 8, GREEN)
    c.rect(ox + 6, 5, ox + 8, 8, YELLOW)
    c.rect(ox + 8, 11, ox + 12, 12, RED)
    for i in range(3):
        c.rect(ox + 12 + i, 9 + i, ox + 12 + i, 14 - i, RED)


def bmp_bytes(c):
    stride = (c.width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(c.height)):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in c.pixels[y])
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0, 14 + len(header))
    return file_header + header + rows


def draw_icon(size):
    c = Canvas(size, size, None)
    s = size // 16
    # A sheet with four packed sprites: the program's job in one picture.
    c.rect(0, 1 * s, 15 * s + s - 1, 15 * s + s - 1, WHITE)
    c.frame(0, 1 * s, size - 1, size - 1, BLACK)
    for (x0, y0, x1, y1, colour) in ((1, 2, 7, 8, RED), (8, 2, 14, 6, BLUE), (1, 9, 5, 14, GREEN),
                                     (6, 9, 14, 14, YELLOW), (8, 7, 14, 8, (160, 80, 200))):
        c.rect(x0 * s, y0 * s, x1 * s + s - 1, y1 * s + s - 1, colour)
    return c


def ico_image(c):
    size = c.width
    pixels = b""
    for y in reversed(range(size)):
        for x in range(size):
            p = c.pixels[y][x]
            pixels += bytes((p[2], p[1], p[0], 255)) if p else b"\0\0\0\0"
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(mask_stride)
        for x in range(size):
            if c.pixels[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def ico_bytes(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for c in images:
        blob = ico_image(c)
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return out + data


def main():
    os.makedirs(OUT, exist_ok=True)
    strip = Canvas(64, 15, GREY)
    for index, draw in enumerate((draw_add_image, draw_page_list, draw_image_list, draw_output)):
        draw(strip, 16 * index)
    with open(os.path.join(OUT, "toolbar.bmp"), "wb") as f:
        f.write(bmp_bytes(strip))
    with open(os.path.join(OUT, "piconel.ico"), "wb") as f:
        f.write(ico_bytes([draw_icon(16), draw_icon(32)]))


if __name__ == "__main__":
    main()
