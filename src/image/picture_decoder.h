#pragma once

// Decoders tried before the built-in bitmap reader: the Susie plug-ins
// (plugin_host.h, Windows only) and the built-in PNG and GIF decoders
// (built_in_decoder.h). A decoder turns a whole file in memory into a
// BITMAPINFO (info header and colour table) and a pixel array; every such
// answer passes accept_decoder_answer, the same checks a bitmap file passes,
// before it counts as decoded.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "image/dib.h"

namespace piconel {

struct DecodedPicture {
  Dib dib;  // as accept_decoder_answer built it
  // Transparent palette index read from the file's own bytes (PNG tRNS, GIF
  // graphic control extension), or -1.
  std::int32_t probed_transparent_index = -1;
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // Tries the decoders whose extensions match `path`, in order; an answer
  // that accept_decoder_answer refuses counts as a failure and the next
  // decoder is tried. None when no decoder takes the file.
  virtual std::optional<DecodedPicture> decode(std::string_view path) const = 0;
  // Whether decode may run on several threads at once. Plug-ins are not
  // known to allow it; an empty plug-in host decodes nothing and does.
  [[nodiscard]] virtual bool thread_safe() const { return true; }
};

// The one check of a decoder's answer: `bitmap_info` is the whole info block
// (any header size the bitmap reader accepts, V4 and V5 included, then masks
// and colour table), `pixels` the pixel block. Both are read in place and
// only within their sizes. None when the bitmap reader would refuse the same
// blocks in a file (compressed, a palette longer than the depth allows, a
// side above kMaxBitmapSide, too few pixel bytes, ...).
[[nodiscard]] std::optional<Dib> accept_decoder_answer(std::span<const std::uint8_t> bitmap_info,
                                                       std::span<const std::uint8_t> pixels);

}  // namespace piconel
