#pragma once

// Decoders tried before the built-in bitmap reader: the plug-in host on
// Windows (one implementation), or nothing. A decoder turns a whole file in
// memory into a BITMAPINFO (40-byte header and colour table) and a bottom-up
// pixel array; load_image checks both before using them.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace piconel {

struct DecodedPicture {
  std::vector<std::uint8_t> bitmap_info;  // BITMAPINFOHEADER followed by the colour table
  std::vector<std::uint8_t> pixels;       // as the decoder returned them
  // Transparent palette index read from the file's own bytes (PNG tRNS, GIF
  // graphic control extension), or -1.
  std::int32_t probed_transparent_index = -1;
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // Tries the decoders whose extensions match `path`, in order. None when no
  // decoder takes the file (the built-in reader is then tried).
  virtual std::optional<DecodedPicture> decode(std::string_view path) const = 0;
};

}  // namespace piconel
