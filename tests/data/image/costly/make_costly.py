#!/usr/bin/env python3
"""Writes the costly pictures beside this script: tiny files whose headers
claim pictures far larger than they hold (found by fuzzing the command line).

Each file is named <Decoder error>_<what it claims>.<ext>. The image tests
expect each to be refused with that error, and the fuzz replays use them as
seeds. Two more files are small pictures near the limits that must still
decode: ok_zero_rows_2048.png (deflate at its highest ratio) and
ok_screen_fill.gif (a 1 x 1 frame on a 13 x 3 screen filled with index 1).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack(
        '>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, depth, colour_type, idat):
    ihdr = struct.pack('>IIBBBBB', width, height, depth, colour_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', idat) +
            chunk(b'IEND', b''))


def gif(screen_width, screen_height, frame_width, frame_height, lzw):
    head = b'GIF89a' + struct.pack('<HHBBB', screen_width, screen_height, 0x80, 1, 0)
    table = bytes([0, 0, 0, 255, 255, 255])
    frame = b'\x2c' + struct.pack('<HHHHB', 0, 0, frame_width, frame_height, 0)
    return head + table + frame + bytes([2, len(lzw)]) + lzw + b'\x00\x3b'


# One pixel of index 0 with a 2-bit minimum code size: clear (4), 0, end (5)
# in 3-bit codes, least significant bit first.
ONE_PIXEL = bytes([0x44, 0x01])

FILES = {
    'BadDimensions_png_wide_grey_alpha.png':
        png(0x7FFFFFFF, 9, 8, 4, zlib.compress(b'\x00' * 64)[:40]),
    'BadDimensions_png_huge_rgba.png': png(0x7FFFFFFF, 0x7FFFFFFF, 8, 6, bytes(10)),
    'TooLarge_png_32768_square_grey.png': png(32768, 32768, 1, 0, bytes(10)),
    'Malformed_png_short_stream.png': png(16384, 16384, 8, 0, zlib.compress(b'\x00' * 64)),
    'TooLarge_gif_32768_screen.gif': gif(32768, 32768, 1, 1, ONE_PIXEL),
    'ok_zero_rows_2048.png': png(2048, 2048, 8, 0,
                                 zlib.compress(b'\x00' * (2049 * 2048), 9)),
    'ok_screen_fill.gif': gif(13, 3, 1, 1, ONE_PIXEL),
}

for name, data in FILES.items():
    with open(os.path.join(HERE, name), 'wb') as out:
        out.write(data)
