#!/usr/bin/env python3
"""Draws the sprites of the demo project and writes demo.ijp.

The sprites are Windows bitmaps at several depths (8-bit with a transparent
palette index, 24-bit, 32-bit) and PNG files (4-bit indexed, 8-bit RGB),
which the program reads with its built-in decoder; demo.ijp is a CP932 text
file with CR LF line ends, as the program writes projects. Run from anywhere:
    python3 examples/demo/make_demo.py
The results are committed; rerun only after changing this script.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SPRITES = os.path.join(HERE, "sprites")


def bitmap(width, height, bits, palette, pixel):
    """pixel(x, y) with y from the top: an index for bits <= 8, else (r, g, b)."""
    stride = (width * bits + 31) // 32 * 4
    rows = b""
    for y in range(height - 1, -1, -1):  # bottom row first
        row = bytearray(stride)
        for x in range(width):
            v = pixel(x, y)
            if bits == 4:
                row[x // 2] |= (v & 0xF) << (4 if x % 2 == 0 else 0)
            elif bits == 8:
                row[x] = v
            else:
                r, g, b = v
                at = x * (bits // 8)
                row[at:at + 3] = bytes((b, g, r))  # the fourth byte of 32 bits stays 0
        rows += bytes(row)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 0, 0,
                       len(palette), 0)
    header = b"BM" + struct.pack("<IHHI", 14 + 40 + len(table) + len(rows), 0, 0,
                                 14 + 40 + len(table))
    return header + info + table + rows


def png(width, height, bits, palette, pixel):
    """The same picture as bitmap() as a PNG: indexed (bits <= 8, PLTE =
    `palette`) or 8-bit RGB (bits 24)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b""
    for y in range(height):  # top row first, each with filter type 0
        if bits == 24:
            row = b"".join(bytes(pixel(x, y)) for x in range(width))
        else:
            row = bytearray((width * bits + 7) // 8)
            for x in range(width):
                at = x * bits
                row[at // 8] |= pixel(x, y) << (8 - bits - at % 8)
            row = bytes(row)
        raw += b"\0" + row
    colour_type = 2 if bits == 24 else 3
    ihdr = struct.pack(">IIBBBBB", width, height, 8 if bits == 24 else bits, colour_type, 0, 0, 0)
    body = chunk(b"IHDR", ihdr)
    if colour_type == 3:
        body += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    body += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + body


def save(name, data):
    with open(os.path.join(SPRITES, name), "wb") as f:
        f.write(data)


# heart4.png: 16 x 16, 4-bit indexed PNG; index 0 is magenta, the sheet's
# background.
HEART = [
    "................",
    "..XXXX....XXXX..",
    ".XrrrrX..XrrrrX.",
    "XrpprrrXXrrrrrrX",
    "XrpprrrrrrrrrrrX",
    "XrrrrrrrrrrrrrrX",
    "XrrrrrrrrrrrrrdX",
    ".XrrrrrrrrrrrdX.",
    "..XrrrrrrrrrdX..",
    "...XrrrrrrrdX...",
    "....XrrrrrdX....",
    ".....XrrrdX.....",
    "......XrdX......",
    ".......XX.......",
    "................",
    "................",
]
heart_palette = [(255, 0, 255), (40, 0, 0), (220, 30, 60), (255, 170, 190), (150, 0, 30)]
heart_index = {".": 0, "X": 1, "r": 2, "p": 3, "d": 4}
save("heart4.png", png(16, 16, 4, heart_palette + [(0, 0, 0)] * 11,
                       lambda x, y: heart_index[HEART[y][x]]))

# coin8.bmp: 16 x 16, 8 bits; index 0 (teal) is the transparent index set in
# the project, so it shows the page background.
coin_palette = [(0, 128, 128), (120, 80, 0), (200, 150, 20), (250, 210, 60), (255, 245, 170)]


def coin(x, y):
    dx, dy = x - 7.5, y - 7.5
    d = math.hypot(dx, dy)
    if d > 7.5:
        return 0
    if d > 6.5:
        return 1
    if abs(dx) < 1.2 and abs(dy) < 4:
        return 1
    return 4 if dx + dy < -6 else 3 if dx + dy < 2 else 2


save("coin8.bmp", bitmap(16, 16, 8, coin_palette + [(0, 0, 0)] * 251, coin))


# ソード.bmp (sword): 8 x 24, 24 bits, white background used as the
# transparent colour; the CP932 name holds the byte 0x5C (ソ is 0x83 0x5C).
def sword(x, y):
    if y < 16:
        if x in (3, 4):
            return (200, 210, 230) if x == 3 else (140, 150, 170)
        return (255, 255, 255)
    if y in (16, 17):
        return (120, 70, 20) if 0 < x < 7 else (255, 255, 255)
    if x in (3, 4):
        return (90, 50, 10) if y < 22 else (230, 190, 40)
    return (255, 255, 255)


save("\u30bd\u30fc\u30c9.bmp", bitmap(8, 24, 24, [], sword))


# ship32.bmp: 48 x 32, 32 bits, a shaded hull on dark blue (0, 0, 64), the
# transparent colour of its entry.
def ship(x, y):
    cy = 16
    half = 14 - abs(x - 20) * 0.55 if x < 40 else 0
    if x > 6 and abs(y - cy) < max(half, 0) * (0.35 if x > 28 else 1.0):
        shade = 1.0 - abs(y - cy) / 16.0
        return (int(90 + 120 * shade), min(255, 100 + 4 * x), int(120 + 100 * shade))
    if 2 <= x <= 8 and abs(y - cy) < 3:
        return (255, 140 + 10 * (x % 4), 0)  # exhaust
    return (0, 0, 64)


save("ship32.bmp", bitmap(48, 32, 32, [], ship))


# gem24.png: 24 x 24, 8-bit RGB PNG, a faceted gem on black.
def gem(x, y):
    d = abs(x - 11.5) + abs(y - 11.5)
    if d > 11:
        return (0, 0, 0)
    return (int(40 + 8 * x), int(180 - 6 * y), int(120 + 5 * (x + y) % 120))


save("gem24.png", png(24, 24, 24, [], gem))

# demo.ijp: two pages, all table switches on, relative image paths. The
# project asks for an output folder (OUTPUTENABLE 0); the command line gets
# one with --out.
ROWS0 = [
    ("sprites\\heart4.png", 0, 0, "HEART", 0, 16, 16, 0, -1),
    ("sprites\\coin8.bmp", 16, 0, "COIN", 0, 16, 16, 1, 0),
    ("sprites\\\u30bd\u30fc\u30c9.bmp", 32, 0, "SWORD", 0, 8, 24, 1, 0xFFFFFF),
    ("sprites\\coin8.bmp", 40, 8, "COIN_SMALL", 1, 8, 8, 1, 0),
]
ROWS1 = [
    ("sprites\\ship32.bmp", 0, 0, "SHIP", 0, 48, 32, 1, 0x000040),
    ("sprites\\gem24.png", 48, 0, "GEM", 0, 24, 24, 0, 0),
    ("sprites\\heart4.png", 48, 24, "LIFE", 0, 16, 16, 1, 0),
]
lines = [
    "[INFOMATION]",
    "APPLICATIONNAME=\u30d4\u30b3\u30cd\u30eb\u30d7\u30ed\u30b8\u30a7\u30af\u30c8",
    "APPLICATIONVERSION=1.0.8",
    "[PAGELIST]",
    "page000",
    "page001",
    "[PROPERTY]",
    "CURRENTPAGE=0",
    "OUTPUTENABLE=0",
    "OUTPUTDIR=",
    "OUTPUT_BMP=1",
    "OUTPUT_LABEL=1",
    "OUTPUT_LABEL_FORMAT=IMG_%PAGE%_%FILE%",
    "OUTPUT_LABEL_PAGENUM=1",
    "OUTPUT_TABLE_TEXT=1",
    "OUTPUT_TABLE_LITTLE=1",
    "OUTPUT_TABLE_BIG=1",
    "TRANSPARENTENABLE=1",
    "TRANSPARENTCOLOR=255,0,255",
    "[PROPERTY:page000]",
    "PAGELABEL=ITEMS",
    "PUTIMAGEWIDTH=56",
    "PUTIMAGEHEIGHT=24",
    "[PROPERTY:page001]",
    "PAGELABEL=SHIPS",
    "PUTIMAGEWIDTH=72",
    "PUTIMAGEHEIGHT=40",
    "TRANSPARENTENABLE=1",
    "TRANSPARENTCOLOR=0,0,0",
    "FIXEDSHEET=1",
    "SHEETSIZEMANUAL=1",
    "SHEETWIDTH=80",
    "SHEETHEIGHT=48",
    "[FILELIST:page000]",
] + ["\t".join(str(c) for c in row) for row in ROWS0] + ["[FILELIST:page001]"] + [
    "\t".join(str(c) for c in row) for row in ROWS1]
with open(os.path.join(HERE, "demo.ijp"), "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
