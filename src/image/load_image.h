#pragma once

// The one way from an image file to a bitmap: plug-in decoders first (by
// extension), then the built-in "BM" reader; colour analysis into an entry,
// the merge into a colour list, and replacement of the transparent colour.

#include <cstdint>
#include <optional>
#include <string_view>

#include "image/colour.h"
#include "image/dib.h"
#include "image/image_entry.h"

namespace piconel {

class PictureDecoder;  // the plug-in host, image/picture_decoder.h

struct LoadImageRequest {
  std::string_view path;            // full CP932 path
  ColorRef replacement_colour = -1; // COLORREF; -1 = none for paletted pictures
  ImageEntry* entry = nullptr;      // receives the analysis; none: no analysis, no merge
  ColourList* colour_list = nullptr;  // merge target (the caller passes the sheet list)
  std::int32_t transparent_key = -1;  // -1 automatic; palette index or 0x00RRGGBB
  const PictureDecoder* decoders = nullptr;  // plug-ins, or none
};

// None when the file cannot be read or decoded (or is malformed).
std::optional<Dib> load_image(const LoadImageRequest& request);

}  // namespace piconel
