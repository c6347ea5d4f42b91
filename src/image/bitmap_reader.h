#pragma once

// The built-in reader of Windows bitmaps ("BM" files) and the check of a
// decoder's BITMAPINFO plus pixel array. Both hand back the one normalised
// Dib layout of image/dib.h.
//
// Accepted: info headers of 40 bytes (BITMAPINFOHEADER), 52 and 56 bytes (its
// V2/V3 extensions), 108 (BITMAPV4HEADER) and 124 (BITMAPV5HEADER), all read
// through their common 40-byte start, and 12 bytes (BITMAPCOREHEADER, with
// 3-byte colour-table entries); depths 1, 2, 4, 8, 16, 24 and 32; BI_RGB, and
// BI_BITFIELDS for 16 and 32 bits (masks after a 40-byte header or inside a
// larger one). Top-down pictures (negative height) are flipped to bottom-up.
//
// Refused, each with its own error: anything else, and every claim of the
// file that does not hold (see BitmapError).

#include <cstdint>
#include <span>

#include "image/dib.h"

namespace piconel {

enum class BitmapError {
  None,
  NotBitmap,         // no "BM" at the start of the file
  Truncated,         // file or info block shorter than its headers
  BadHeaderSize,     // info header size other than 12, 40, 52, 56, 108, 124
  BadDimensions,     // width or height 0, negative width, or above kMaxBitmapSide
  BadBitDepth,       // depth other than 1, 2, 4, 8, 16, 24, 32
  Compressed,        // RLE, JPEG, PNG or bit fields at a depth other than 16 or 32
  BadMasks,          // bit-field masks empty, overlapping, gapped or too wide
  PaletteTooLarge,   // biClrUsed above 2^depth or above 256
  PaletteTruncated,  // colour table past the end of the file or info block
  OffsetOutOfRange,  // bfOffBits inside the headers or past the end of the file
  PixelsTruncated,   // fewer pixel bytes than stride * height
  TooLarge,          // above kMaxBitmapPixels, or pixel array above kMaxBitmapBytes
  NoMemory,          // no memory for the pixels or the colour table
};

struct BitmapReadResult {
  BitmapError error = BitmapError::None;
  Dib dib;  // filled only when error is None

  [[nodiscard]] bool ok() const { return error == BitmapError::None; }
};

// A whole "BM" file in memory: 14-byte file header, info header at offset 14,
// colour table after it, pixels at bfOffBits.
[[nodiscard]] BitmapReadResult read_bitmap_file(std::span<const std::uint8_t> file);

// What a decoder returns: `bitmap_info` holds the info header followed by
// (bit-field masks and) the colour table; `pixels` the pixel array with rows
// padded to 4 bytes (bottom-up, or top-down with a negative height). Bytes past
// stride * height are ignored.
[[nodiscard]] BitmapReadResult read_bitmap_info(std::span<const std::uint8_t> bitmap_info,
                                                std::span<const std::uint8_t> pixels);

// A short English name of the error, for tests and diagnostics.
const char* bitmap_error_name(BitmapError error);

}  // namespace piconel
