#pragma once

// GIF files (GIF89a document; 87a files too) decoded with giflib into the
// Dib layout of image/dib.h: the first frame, placed on a picture of the
// logical screen's size.
//
// - The picture is paletted. Its colour table is the frame's local colour
//   table, else the global one; its depth is the smallest DIB depth that
//   holds the table (2 entries: 1 bit, 4: 2 bits, 8 or 16: 4 bits, more: 8
//   bits). Every pixel index must lie inside the table.
// - Screen pixels outside the frame are filled the way GIF viewers show an
//   empty screen: with the transparent index of the first graphic control
//   extension when it sets one (the area then takes the page background in
//   the output), else with the screen's background colour index. Either
//   index is taken in the frame's table; one that lies outside it fills
//   with index 0.
// - Interlaced frames come out in display order. Later frames are not read.
//
// Refused: a frame that reaches outside the logical screen, a file without
// an image or without any colour table, a screen side of 0 or above
// kMaxBitmapSide, a screen above kMaxBitmapPixels or kMaxBitmapBytes
// (checked from the screen descriptor before any pixel memory is taken), and
// anything giflib reports, truncation included. The screen around the frame
// is filled a byte at a time, so a small frame on a large screen costs the
// bytes of the picture it yields.

#include <cstdint>
#include <span>

#include "image/dib.h"

namespace piconel {

enum class GifError {
  None,
  NotGif,              // no "GIF87a" or "GIF89a" header
  Malformed,           // giflib refused the data: truncation, bad LZW data, ...
  BadDimensions,       // a screen side of 0 or above kMaxBitmapSide
  TooLarge,            // screen above kMaxBitmapPixels, or stride * height above kMaxBitmapBytes
  NoImage,             // the trailer comes before any image
  NoColourTable,       // neither a local nor a global colour table
  FrameOutsideScreen,  // the first frame does not lie inside the logical screen
  BadPaletteIndex,     // a pixel at or past the end of the colour table
  NoMemory,            // the picture or a row buffer could not be allocated
};

struct GifDecodeResult {
  GifError error = GifError::None;
  Dib dib;  // filled only when error is None

  [[nodiscard]] bool ok() const { return error == GifError::None; }
};

[[nodiscard]] GifDecodeResult decode_gif(std::span<const std::uint8_t> file);

// A short English name of the error, for tests and diagnostics.
const char* gif_error_name(GifError error);

}  // namespace piconel
