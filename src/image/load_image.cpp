#include "image/load_image.h"

#include "image/bitmap_reader.h"
#include "image/built_in_decoder.h"
#include "image/colour_analysis.h"
#include "image/decode_cache.h"
#include "image/picture_decoder.h"
#include "store/file_io.h"
#include "store/no_throw.h"

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

// The 8-bit form of a deeper picture from the analysis' colours and each
// pixel's position among them; the key colour (when 0 or more) becomes the
// replacement as replace_true_colour would make it.
Dib indexed_picture(const Dib& dib, const ImageEntry& entry, std::vector<std::uint8_t>&& indices,
                    DibColour key, ColorRef replacement) {
  Dib indexed;
  indexed.width = dib.width;
  indexed.height = dib.height;
  indexed.bits_per_pixel = 8;
  indexed.file_bits_per_pixel = dib.file_bits_per_pixel;
  indexed.stride = dib_stride(8, dib.width);
  const DibColour colour = colorref_to_dib(replacement);
  const PaletteEntry replaced{static_cast<std::uint8_t>(colour & 0xFF),
                              static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                              static_cast<std::uint8_t>((colour >> 16) & 0xFF), 0};
  indexed.colour_table.assign(entry.palette.begin(), entry.palette.begin() + entry.colour_count);
  for (PaletteEntry& listed : indexed.colour_table) {
    listed.flag = 0;
    if (key >= 0 && listed.blue == (key & 0xFF) && listed.green == ((key >> 8) & 0xFF) &&
        listed.red == ((key >> 16) & 0xFF)) {
      listed = replaced;
    }
  }
  indexed.pixels = std::move(indices);
  return indexed;
}

}  // namespace

std::optional<DecodedFile> decode_image(const LoadImageRequest& request) {
  return request.cache != nullptr
             ? request.cache->decode(request.path, [&] { return decode_file(request); })
             : decode_file(request);
}

Dib finish_image(DecodedFile&& decoded, const LoadImageRequest& request) {
  Dib& dib = decoded.dib;
  const std::int32_t automatic_index = decoded.automatic_index;

  std::vector<std::uint8_t> indices;
  if (request.entry != nullptr) {
    const std::int32_t index =
        effective_transparent_index(dib, request.transparent_key, automatic_index);
    analyse_colours(dib, index, *request.entry, request.index_true_colour ? &indices : nullptr);
    if (request.colour_list != nullptr) {
      merge_colours(*request.entry, *request.colour_list);
    }
  }

  if (dib.bits_per_pixel <= 8) {
    const std::int32_t index =
        request.transparent_key >= 0 ? request.transparent_key : automatic_index;
    static_cast<void>(replace_palette_colour(dib, index, request.replacement_colour));
  } else if (!indices.empty()) {
    Dib indexed;
    if (allocation_succeeds([&] {
          indexed = indexed_picture(dib, *request.entry, std::move(indices),
                                    request.transparent_key, request.replacement_colour);
        })) {
      return indexed;
    }
  }
  if (dib.bits_per_pixel > 8 && request.transparent_key >= 0) {
    static_cast<void>(
        replace_true_colour(dib, request.transparent_key, request.replacement_colour));
  }
  return std::move(dib);
}

std::optional<Dib> load_image(const LoadImageRequest& request) {
  std::optional<DecodedFile> decoded = decode_image(request);
  if (!decoded) {
    return std::nullopt;
  }
  return finish_image(std::move(*decoded), request);
}

}  // namespace piconel
