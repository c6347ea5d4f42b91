#!/usr/bin/env python3
"""Writes the hostile bitmap files beside this script.

Each file is named <Error>_<what is wrong>.bmp, where <Error> is the reader's
error for it; the image tests load every file here and expect exactly that
error (and no crash). All start from one valid 4 x 2 8-bit picture with a
2-entry colour table (header 14 + 40 bytes, table at 54, pixels at 62).
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def valid():
    table = bytes([1, 1, 1, 0, 2, 2, 2, 0])
    pixels = bytes([0, 1, 0, 1, 1, 0, 1, 0])
    info = struct.pack('<IiiHHIIiiII', 40, 4, 2, 1, 8, 0, 0, 0, 0, 2, 0)
    head = b'BM' + struct.pack('<IHHI', 62 + len(pixels), 0, 0, 62)
    return bytearray(head + info + table + pixels)


def patched(offset, fmt, value):
    data = valid()
    struct.pack_into(fmt, data, offset, value)
    return data


def cut(size):
    return valid()[:size]


CASES = {
    'NotBitmap_empty': b'',
    'NotBitmap_png_signature': bytes([137, 80, 78, 71, 13, 10, 26, 10]) + bytes(60),
    'Truncated_file_header': cut(12),
    'Truncated_info_header': cut(40),
    'BadHeaderSize_64': patched(14, '<I', 64),
    'BadHeaderSize_huge': patched(14, '<I', 0xFFFFFFFF),
    'BadDimensions_zero_width': patched(18, '<i', 0),
    'BadDimensions_negative_width': patched(18, '<i', -4),
    'BadDimensions_huge_height': patched(22, '<i', 0x7FFFFFFF),
    'BadDimensions_int_min_height': patched(22, '<I', 0x80000000),
    'BadBitDepth_3': patched(28, '<H', 3),
    'Compressed_rle8': patched(30, '<I', 1),
    'Compressed_png_inside': patched(30, '<I', 5),
    'PaletteTooLarge_300': patched(46, '<I', 300),
    'PaletteTruncated_table_past_end': patched(46, '<I', 200),
    'OffsetOutOfRange_past_end': patched(10, '<I', 0xFFFFFFF0),
    'OffsetOutOfRange_inside_header': patched(10, '<I', 20),
    'PixelsTruncated_last_row_short': cut(69),
    'TooLarge_32768_square': (lambda d: (struct.pack_into('<ii', d, 18, 32768, 32768), d)[1])(
        valid()),
}

for name, data in CASES.items():
    with open(os.path.join(HERE, name + '.bmp'), 'wb') as f:
        f.write(bytes(data))
