#include "image/picture_decoder.h"

#include "image/bitmap_reader.h"

namespace piconel {

std::optional<Dib> accept_decoder_answer(std::span<const std::uint8_t> bitmap_info,
                                         std::span<const std::uint8_t> pixels) {
  BitmapReadResult result = read_bitmap_info(bitmap_info, pixels);
  if (!result.ok()) {
    return std::nullopt;
  }
  return std::move(result.dib);
}

}  // namespace piconel
