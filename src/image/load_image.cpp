#include "image/load_image.h"

#include "image/bitmap_reader.h"
#include "image/built_in_decoder.h"
#include "image/colour_analysis.h"
#include "image/decode_cache.h"
#include "image/picture_decoder.h"
#include "store/file_io.h"

namespace piconel {

namespace {

// Bitmap files above this are refused unread: the pixel array alone may not
// exceed kMaxBitmapBytes, and headers and colour table add little.
constexpr std::uint64_t kMaxBitmapFileBytes = kMaxBitmapBytes * 2;

std::optional<DecodedFile> decode_with(const PictureDecoder* decoders, std::string_view path) {
  if (decoders == nullptr) {
    return std::nullopt;
  }
  std::optional<DecodedPicture> picture = decoders->decode(path);
  if (!picture) {
    return std::nullopt;
  }
  const std::int32_t probed = picture->probed_transparent_index;
  return DecodedFile{std::move(picture->dib), probed >= 0 && probed <= 255 ? probed : -1};
}

std::optional<DecodedFile> read_built_in(std::string_view path) {
  const FileBytes file = read_whole_file(path, kMaxBitmapFileBytes);
  if (file.status != ReadStatus::Ok) {
    return std::nullopt;
  }
  BitmapReadResult result = read_bitmap_file(file.bytes);
  if (!result.ok()) {
    return std::nullopt;
  }
  return DecodedFile{std::move(result.dib), -1};
}

std::optional<DecodedFile> decode_file(const LoadImageRequest& request) {
  std::optional<DecodedFile> decoded = decode_with(request.decoders, request.path);
  if (!decoded) {
    decoded = decode_with(&built_in_decoder(), request.path);
  }
  if (!decoded) {
    decoded = read_built_in(request.path);
  }
  return decoded;
}

}  // namespace

std::optional<Dib> load_image(const LoadImageRequest& request) {
  std::optional<DecodedFile> decoded =
      request.cache != nullptr
          ? request.cache->decode(request.path, [&] { return decode_file(request); })
          : decode_file(request);
  if (!decoded) {
    return std::nullopt;
  }
  Dib& dib = decoded->dib;
  const std::int32_t automatic_index = decoded->automatic_index;

  if (request.entry != nullptr) {
    const std::int32_t index =
        effective_transparent_index(dib, request.transparent_key, automatic_index);
    analyse_colours(dib, index, *request.entry);
    if (request.colour_list != nullptr) {
      merge_colours(*request.entry, *request.colour_list);
    }
  }

  if (dib.bits_per_pixel <= 8) {
    const std::int32_t index =
        request.transparent_key >= 0 ? request.transparent_key : automatic_index;
    static_cast<void>(replace_palette_colour(dib, index, request.replacement_colour));
  } else if (request.transparent_key >= 0) {
    static_cast<void>(
        replace_true_colour(dib, request.transparent_key, request.replacement_colour));
  }
  return std::move(dib);
}

}  // namespace piconel
