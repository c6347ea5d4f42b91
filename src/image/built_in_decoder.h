#pragma once

// The built-in PNG and GIF decoders, offered the way a plug-in offers its
// formats: extension pairs for the open-file filter, and a whole file
// decoded into a BITMAPINFO plus bottom-up pixel rows that pass
// accept_decoder_answer. load_image tries them after the plug-ins (which
// therefore still win) and before the built-in bitmap reader.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "image/picture_decoder.h"

namespace piconel {

// One file type of the built-in decoders (CP932 texts).
struct BuiltInPair {
  std::string_view patterns;
  std::string_view description;
};

inline constexpr std::array<BuiltInPair, 2> kBuiltInPairs = {{
    {"*.png", "PNG \x83\x74\x83\x40\x83\x43\x83\x8b"},  // PNG ファイル
    {"*.gif", "GIF \x83\x74\x83\x40\x83\x43\x83\x8b"},  // GIF ファイル
}};

// Largest PNG or GIF file read: a well-compressed picture at the pixel
// limit stays far below it, and nothing larger is loaded into memory.
inline constexpr std::uint64_t kMaxCompressedFileBytes = kMaxBitmapBytes;

class BuiltInDecoder final : public PictureDecoder {
 public:
  // A path ending in ".png" or ".gif" (ASCII case ignored) is read whole and
  // decoded by decode_png or decode_gif; the answer passes
  // accept_decoder_answer and the transparency probe of the extension runs
  // on the same bytes. None for other extensions, a file that cannot be read
  // or is larger than kMaxCompressedFileBytes, and any decoding fault.
  std::optional<DecodedPicture> decode(std::string_view path) const override;
};

// The one instance load_image uses.
[[nodiscard]] const BuiltInDecoder& built_in_decoder();

// Decodes a whole file by its extension (".png", ".gif"), with the same
// checks and probe as BuiltInDecoder::decode; none for other extensions.
[[nodiscard]] std::optional<DecodedPicture> decode_built_in(std::string_view extension,
                                                            std::span<const std::uint8_t> file);

}  // namespace piconel
