#include "image/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "image/checked_size.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 80, 78, 71, 13, 10, 26, 10};

struct MemoryInput {
  std::span<const std::uint8_t> bytes;
  std::size_t pos = 0;
};

// libpng's read callback over the file in memory. A read past the end is a
// libpng error: the file is truncated, and nothing is invented for it.
void read_from_memory(png_structp png, png_bytep out, png_size_t length) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > input->bytes.size() - input->pos) {
    png_error(png, "truncated");
  }
  std::memcpy(out, input->bytes.data() + input->pos, length);
  input->pos += length;
}

// libpng reports errors by calling this and expects it not to return: it
// jumps back to the setjmp of the phase that is running. The jump passes
// only libpng's C frames and read_from_memory, which own nothing.
[[noreturn]] void on_error(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void on_warning(png_structp, png_const_charp) {}

// png_create_read_struct and png_create_info_struct, released together with
// png_destroy_read_struct.
class PngReadStruct {
 public:
  PngReadStruct()
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning)) {
    if (png_ != nullptr) {
      info_ = png_create_info_struct(png_);
    }
  }
  PngReadStruct(const PngReadStruct&) = delete;
  PngReadStruct& operator=(const PngReadStruct&) = delete;
  ~PngReadStruct() {
    if (png_ != nullptr) {
      png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
    }
  }
  [[nodiscard]] bool ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_ = nullptr;
};

// What the header phase learns: IHDR and the row layout after the
// transformations.
struct PngLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int colour_type = 0;
  int bit_depth = 0;
  int channels = 0;
  png_size_t row_bytes = 0;
};

// The two phases below each hold a setjmp for libpng's errors. They create
// no C++ objects, so a jump back into them skips no destructor; everything
// with a destructor lives in their callers.

// Reads the chunks up to the first IDAT: IHDR and whatever precedes the
// pixel data. No row buffer exists yet.
bool read_chunks(png_structp png, png_infop info, PngLayout* layout) {
  if (setjmp(png_jmpbuf(png)) != 0) {
    return false;
  }
  // Sizes are judged by our own limits after IHDR, not by libpng's.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  // Chunk CRCs are ignored, as the transparency probe ignores them.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_read_info(png, info);
  layout->width = png_get_image_width(png, info);
  layout->height = png_get_image_height(png, info);
  layout->colour_type = png_get_color_type(png, info);
  layout->bit_depth = png_get_bit_depth(png, info);
  layout->channels = png_get_channels(png, info);
  return true;
}

// Sets the transformations; libpng then takes its row buffers, sized by the
// width, so this runs only once the size has passed our checks.
bool set_transformations(png_structp png, png_infop info, PngLayout* layout) {
  if (setjmp(png_jmpbuf(png)) != 0) {
    return false;
  }
  if (layout->colour_type != PNG_COLOR_TYPE_PALETTE) {
    if (layout->bit_depth == 16) {
      png_set_scale_16(png);
    }
    if ((layout->colour_type & PNG_COLOR_MASK_COLOR) == 0) {
      // Widens grey only; tRNS stays a chunk and becomes no alpha channel.
      png_set_expand_gray_1_2_4_to_8(png);
      png_set_gray_to_rgb(png);
    }
    png_set_bgr(png);
  }
  // Indexed rows stay packed, leftmost pixel in the high bits, as in a DIB.
  if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
    png_set_interlace_handling(png);
  }
  png_read_update_info(png, info);
  layout->channels = png_get_channels(png, info);
  layout->row_bytes = png_get_rowbytes(png, info);
  return true;
}

// Whether `compressed` bytes could inflate to the rows the header claims.
// Deflate gives at most 1032 bytes for one (a 258-byte match in two bits), and
// the rows hold at least width * height * bits / 8 bytes interlaced or not,
// so a short file claiming a large picture is refused before its rows are
// allocated: the cost follows the file, not the claim.
bool stream_can_hold(const PngLayout& layout, std::size_t compressed) {
  constexpr std::uint64_t kMaxDeflateRatio = 1032;
  const std::uint64_t pixel_bits = static_cast<std::uint64_t>(layout.width) * layout.height *
                                   static_cast<std::uint64_t>(layout.channels * layout.bit_depth);
  return pixel_bits / 8 <= kMaxDeflateRatio * (std::uint64_t{compressed} + 1);
}

bool read_rows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) {
    return false;
  }
  png_read_image(png, rows);
  return true;
}

PngDecodeResult failed(PngError error) {
  PngDecodeResult result;
  result.error = error;
  return result;
}

bool indices_inside_palette(const Dib& dib) {
  const auto palette_length = static_cast<std::int32_t>(dib.colour_table.size());
  for (std::int32_t y = 0; y < dib.height; ++y) {
    for (std::int32_t x = 0; x < dib.width; ++x) {
      if (dib.palette_index(x, y) >= palette_length) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

PngDecodeResult decode_png(std::span<const std::uint8_t> file) {
  if (file.size() < kPngSignature.size() ||
      !std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin())) {
    return failed(PngError::NotPng);
  }
  PngReadStruct reader;
  if (!reader.ok()) {
    return failed(PngError::Malformed);
  }
  MemoryInput input{file, 0};
  png_set_read_fn(reader.png(), &input, read_from_memory);
  PngLayout layout;
  if (!read_chunks(reader.png(), reader.info(), &layout)) {
    return failed(PngError::Malformed);
  }
  switch (check_picture_size(layout.width, layout.height)) {
    case PictureSizeCheck::Ok:
      break;
    case PictureSizeCheck::BadDimensions:
      return failed(PngError::BadDimensions);
    case PictureSizeCheck::TooLarge:
      return failed(PngError::TooLarge);
  }
  if (!stream_can_hold(layout, file.size() - input.pos)) {
    return failed(PngError::Malformed);
  }
  if (!set_transformations(reader.png(), reader.info(), &layout)) {
    return failed(PngError::Malformed);
  }

  Dib dib;
  dib.width = static_cast<std::int32_t>(layout.width);
  dib.height = static_cast<std::int32_t>(layout.height);
  const bool indexed = layout.colour_type == PNG_COLOR_TYPE_PALETTE;
  if (indexed) {
    png_colorp palette = nullptr;
    int palette_length = 0;
    if (png_get_PLTE(reader.png(), reader.info(), &palette, &palette_length) == 0 ||
        palette_length <= 0) {
      return failed(PngError::Malformed);
    }
    dib.bits_per_pixel = layout.bit_depth;
    if (!try_resize(dib.colour_table, static_cast<std::size_t>(palette_length))) {
      return failed(PngError::NoMemory);
    }
    for (std::size_t i = 0; i < dib.colour_table.size(); ++i) {
      dib.colour_table[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    }
  } else {
    dib.bits_per_pixel = layout.channels * 8;
  }
  if ((indexed && layout.channels != 1) ||
      (!indexed && dib.bits_per_pixel != 24 && dib.bits_per_pixel != 32)) {
    return failed(PngError::Malformed);
  }
  dib.file_bits_per_pixel = dib.bits_per_pixel;
  dib.stride = dib_stride(dib.bits_per_pixel, dib.width);
  const auto total = checked_mul(dib.stride, layout.height, kMaxBitmapBytes);
  if (!total) {
    return failed(PngError::TooLarge);
  }
  if (layout.row_bytes > dib.stride) {
    return failed(PngError::Malformed);
  }
  // Rows are stored bottom-up: the file's first row goes last.
  std::vector<png_bytep> rows;
  if (!try_assign(dib.pixels, static_cast<std::size_t>(*total), std::uint8_t{0}) ||
      !try_resize(rows, layout.height)) {
    return failed(PngError::NoMemory);
  }
  for (std::size_t y = 0; y < rows.size(); ++y) {
    rows[y] = dib.pixels.data() + (rows.size() - 1 - y) * dib.stride;
  }
  if (!read_rows(reader.png(), rows.data())) {
    return failed(PngError::Malformed);
  }

  if (dib.bits_per_pixel == 32) {
    // Alpha is not kept: the fourth byte of a pixel means nothing here.
    for (std::size_t y = 0; y < rows.size(); ++y) {
      for (std::size_t x = 0; x < layout.width; ++x) {
        rows[y][x * 4 + 3] = 0;
      }
    }
  }
  if (indexed && !indices_inside_palette(dib)) {
    return failed(PngError::BadPaletteIndex);
  }
  PngDecodeResult result;
  result.dib = std::move(dib);
  return result;
}

const char* png_error_name(PngError error) {
  switch (error) {
    case PngError::None:
      return "None";
    case PngError::NotPng:
      return "NotPng";
    case PngError::Malformed:
      return "Malformed";
    case PngError::BadDimensions:
      return "BadDimensions";
    case PngError::TooLarge:
      return "TooLarge";
    case PngError::BadPaletteIndex:
      return "BadPaletteIndex";
    case PngError::NoMemory:
      return "NoMemory";
  }
  return "Unknown";
}

}  // namespace piconel
