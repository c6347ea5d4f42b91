#pragma once

// PNG files (W3C PNG, second edition) decoded with libpng into the Dib
// layout of image/dib.h.
//
// - Indexed colour, bit depths 1, 2, 4 and 8: a paletted picture of the same
//   depth whose colour table is the PLTE chunk (every pixel index must lie
//   inside it).
// - Greyscale and RGB: 24 bits; greyscale with alpha and RGBA: 32 bits, the
//   fourth byte of each pixel 0 (alpha is neither blended nor kept, as for
//   a bit-field bitmap; transparency is left to the probes and the
//   transparent colour rules). Greyscale of 1, 2 or 4 bits is widened to 8
//   first (0..max onto 0..255); 16-bit channels are scaled to 8 with
//   rounding, v * 255 / 65535.
// - tRNS, gAMA, sRGB, iCCP, cHRM, sBIT and bKGD change no pixel.
// - Interlaced (Adam7) files come out whole.
// - Chunk CRCs are not checked, as the transparency probe does not check
//   them: a file whose only fault is a CRC decodes.
//
// Sizes are checked from IHDR before any pixel or row memory is taken (by us
// or by libpng): check_picture_size, stride * height within kMaxBitmapBytes,
// and rows that the rest of the file could inflate to at all, so a small file
// that claims a huge picture (a decompression bomb) is refused unread.

#include <cstdint>
#include <span>

#include "image/dib.h"

namespace piconel {

enum class PngError {
  None,
  NotPng,           // no PNG signature
  Malformed,        // libpng refused the data (truncation, a bad chunk, bad zlib data, ...),
                    // or the file is too short to hold the rows its header claims
  BadDimensions,    // width or height above kMaxBitmapSide
  TooLarge,         // above kMaxBitmapPixels, or stride * height above kMaxBitmapBytes
  BadPaletteIndex,  // an indexed pixel at or past the end of PLTE
  NoMemory,         // the pixel rows could not be allocated
};

struct PngDecodeResult {
  PngError error = PngError::None;
  Dib dib;  // filled only when error is None

  [[nodiscard]] bool ok() const { return error == PngError::None; }
};

[[nodiscard]] PngDecodeResult decode_png(std::span<const std::uint8_t> file);

// A short English name of the error, for tests and diagnostics.
const char* png_error_name(PngError error);

}  // namespace piconel
