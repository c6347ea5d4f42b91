#include "image/built_in_decoder.h"

#include "image/gif_decoder.h"
#include "image/png_decoder.h"
#include "image/transparency_probe.h"
#include "store/cp932.h"
#include "store/file_io.h"

namespace piconel {

std::optional<DecodedPicture> decode_built_in(std::string_view extension,
                                              std::span<const std::uint8_t> file) {
  std::optional<Dib> candidate;
  std::int32_t probed = -1;
  if (equals_ignoring_ascii_case(extension, ".png")) {
    PngDecodeResult result = decode_png(file);
    if (!result.ok()) {
      return std::nullopt;
    }
    candidate = std::move(result.dib);
    probed = png_transparent_index(file);
  } else if (equals_ignoring_ascii_case(extension, ".gif")) {
    GifDecodeResult result = decode_gif(file);
    if (!result.ok()) {
      return std::nullopt;
    }
    candidate = std::move(result.dib);
    probed = gif_transparent_index(file);
  } else {
    return std::nullopt;
  }
  // The same checks as a plug-in's answer and a bitmap file.
  std::optional<Dib> accepted =
      accept_decoder_answer(bitmap_info_bytes(*candidate), candidate->pixels);
  if (!accepted) {
    return std::nullopt;
  }
  return DecodedPicture{std::move(*accepted), probed};
}

std::optional<DecodedPicture> BuiltInDecoder::decode(std::string_view path) const {
  const std::string_view extension = extension_of(path);
  if (!equals_ignoring_ascii_case(extension, ".png") &&
      !equals_ignoring_ascii_case(extension, ".gif")) {
    return std::nullopt;
  }
  const FileBytes file = read_whole_file(path, kMaxCompressedFileBytes);
  if (file.status != ReadStatus::Ok) {
    return std::nullopt;
  }
  return decode_built_in(extension, file.bytes);
}

const BuiltInDecoder& built_in_decoder() {
  static const BuiltInDecoder decoder;
  return decoder;
}

}  // namespace piconel
