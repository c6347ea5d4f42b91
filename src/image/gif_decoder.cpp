#include "image/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "image/checked_size.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

struct MemoryInput {
  std::span<const std::uint8_t> bytes;
  std::size_t pos = 0;
};

// giflib's read callback over the file in memory: gives what is left, and
// giflib reports a short read as an error.
int read_from_memory(GifFileType* gif, GifByteType* out, int length) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  if (length <= 0) {
    return 0;
  }
  const std::size_t count =
      std::min(static_cast<std::size_t>(length), input->bytes.size() - input->pos);
  std::memcpy(out, input->bytes.data() + input->pos, count);
  input->pos += count;
  return static_cast<int>(count);
}

// DGifOpen's file, released with DGifCloseFile.
class GifFile {
 public:
  explicit GifFile(MemoryInput& input) : gif_(DGifOpen(&input, read_from_memory, &error_)) {}
  GifFile(const GifFile&) = delete;
  GifFile& operator=(const GifFile&) = delete;
  ~GifFile() {
    if (gif_ != nullptr) {
      int ignored = 0;
      DGifCloseFile(gif_, &ignored);
    }
  }
  GifFileType* get() const { return gif_; }
  int open_error() const { return error_; }

 private:
  int error_ = 0;
  GifFileType* gif_;
};

// The smallest DIB depth holding a colour table of 2^bits entries.
std::int32_t dib_depth_for(int table_bits) {
  if (table_bits <= 1) {
    return 1;
  }
  if (table_bits == 2) {
    return 2;
  }
  return table_bits <= 4 ? 4 : 8;
}

// Writes palette index `value` at (x, row) of a packed paletted Dib, row
// counted in memory order (bottom row first).
void put_index(Dib& dib, std::size_t x, std::size_t row, std::uint8_t value) {
  const auto depth = static_cast<std::size_t>(dib.bits_per_pixel);
  const std::size_t bit = x * depth;
  std::uint8_t& byte = dib.pixels[row * dib.stride + bit / 8];
  const auto shift = static_cast<unsigned>(8 - depth - bit % 8);
  const auto mask = static_cast<std::uint8_t>(((1u << depth) - 1u) << shift);
  byte = static_cast<std::uint8_t>((byte & ~mask) | ((value << shift) & mask));
}

// Sets every pixel of a packed paletted Dib to `value`, whole bytes at a time:
// the screen around a small frame costs a fill of its bytes, not a call for
// each of its pixels. Row padding stays 0.
void fill_rows(Dib& dib, std::uint8_t value) {
  const auto depth = static_cast<std::size_t>(dib.bits_per_pixel);
  std::uint8_t pattern = 0;
  for (std::size_t bit = 0; bit < 8; bit += depth) {
    pattern = static_cast<std::uint8_t>((pattern << depth) | value);
  }
  const auto width = static_cast<std::size_t>(dib.width);
  const std::size_t whole_bytes = width * depth / 8;
  for (std::size_t row = 0; row < static_cast<std::size_t>(dib.height); ++row) {
    std::memset(dib.pixels.data() + row * dib.stride, pattern, whole_bytes);
    for (std::size_t x = whole_bytes * 8 / depth; x < width; ++x) {
      put_index(dib, x, row, value);
    }
  }
}

// Skips an extension's data sub-blocks. The graphic control extension's
// transparent index is noted, from the first such extension only (the rule
// of the GIF transparency probe).
bool read_extension(GifFileType* gif, bool& seen_control, int& transparent_index) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
    return false;
  }
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && !seen_control) {
    // block[0] is the sub-block's size; then packed field, delay (2 bytes),
    // transparent colour index (GIF89a section 23).
    seen_control = true;
    if (block[0] >= 4 && (block[1] & 1) != 0) {
      transparent_index = block[4];
    }
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
      return false;
    }
  }
  return true;
}

GifDecodeResult failed(GifError error) {
  GifDecodeResult result;
  result.error = error;
  return result;
}

// Reads the first frame's rows into the screen-sized `dib`. Interlaced
// frames store rows in four passes (GIF89a appendix E).
GifError read_frame(GifFileType* gif, Dib& dib, std::size_t colour_count) {
  const GifImageDesc& frame = gif->Image;
  const auto width = static_cast<std::size_t>(frame.Width);
  const auto height = static_cast<std::size_t>(frame.Height);
  std::vector<GifPixelType> line;
  std::vector<std::size_t> order;
  if (!try_resize(line, width) || !allocation_succeeds([&] { order.reserve(height); })) {
    return GifError::NoMemory;
  }
  if (frame.Interlace) {
    constexpr std::size_t kStart[] = {0, 4, 2, 1};
    constexpr std::size_t kStep[] = {8, 8, 4, 2};
    for (std::size_t pass = 0; pass < 4; ++pass) {
      for (std::size_t y = kStart[pass]; y < height; y += kStep[pass]) {
        order.push_back(y);
      }
    }
  } else {
    for (std::size_t y = 0; y < height; ++y) {
      order.push_back(y);
    }
  }
  const auto left = static_cast<std::size_t>(frame.Left);
  const auto top = static_cast<std::size_t>(frame.Top);
  const auto screen_rows = static_cast<std::size_t>(dib.height);
  for (const std::size_t y : order) {
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
      return GifError::Malformed;
    }
    const std::size_t row = screen_rows - 1 - (top + y);
    for (std::size_t x = 0; x < width; ++x) {
      if (line[x] >= colour_count) {
        return GifError::BadPaletteIndex;
      }
      put_index(dib, left + x, row, line[x]);
    }
  }
  return GifError::None;
}

}  // namespace

GifDecodeResult decode_gif(std::span<const std::uint8_t> file) {
  const std::string_view header(reinterpret_cast<const char*>(file.data()),
                                std::min<std::size_t>(file.size(), 6));
  if (header != "GIF87a" && header != "GIF89a") {
    return failed(GifError::NotGif);
  }
  MemoryInput input{file, 0};
  const GifFile owner(input);
  GifFileType* gif = owner.get();
  if (gif == nullptr) {
    return failed(GifError::Malformed);
  }
  switch (check_picture_size(gif->SWidth, gif->SHeight)) {
    case PictureSizeCheck::Ok:
      break;
    case PictureSizeCheck::BadDimensions:
      return failed(GifError::BadDimensions);
    case PictureSizeCheck::TooLarge:
      return failed(GifError::TooLarge);
  }

  bool seen_control = false;
  int transparent_index = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
      return failed(GifError::Malformed);
    }
    if (type == TERMINATE_RECORD_TYPE) {
      return failed(GifError::NoImage);
    }
    if (type == EXTENSION_RECORD_TYPE) {
      if (!read_extension(gif, seen_control, transparent_index)) {
        return failed(GifError::Malformed);
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) {
      return failed(GifError::Malformed);
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
      return failed(GifError::Malformed);
    }
    break;
  }

  const GifImageDesc& frame = gif->Image;
  // Sums in 64 bits: each term is a 16-bit field of the file.
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0 ||
      std::int64_t{frame.Left} + frame.Width > gif->SWidth ||
      std::int64_t{frame.Top} + frame.Height > gif->SHeight) {
    return failed(GifError::FrameOutsideScreen);
  }
  const ColorMapObject* table = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (table == nullptr || table->ColorCount <= 0 || table->Colors == nullptr) {
    return failed(GifError::NoColourTable);
  }

  Dib dib;
  dib.width = gif->SWidth;
  dib.height = gif->SHeight;
  dib.bits_per_pixel = dib_depth_for(table->BitsPerPixel);
  dib.file_bits_per_pixel = dib.bits_per_pixel;
  dib.stride = dib_stride(dib.bits_per_pixel, dib.width);
  const auto total =
      checked_mul(dib.stride, static_cast<std::uint64_t>(dib.height), kMaxBitmapBytes);
  if (!total) {
    return failed(GifError::TooLarge);
  }
  const auto colour_count =
      std::min(static_cast<std::size_t>(table->ColorCount), std::size_t{1} << dib.bits_per_pixel);
  if (!try_resize(dib.colour_table, colour_count)) {
    return failed(GifError::NoMemory);
  }
  for (std::size_t i = 0; i < colour_count; ++i) {
    const GifColorType& colour = table->Colors[i];
    dib.colour_table[i] = {colour.Blue, colour.Green, colour.Red, 0};
  }

  int fill = transparent_index >= 0 ? transparent_index : gif->SBackGroundColor;
  if (fill < 0 || static_cast<std::size_t>(fill) >= colour_count) {
    fill = 0;
  }
  if (!try_assign(dib.pixels, static_cast<std::size_t>(*total), std::uint8_t{0})) {
    return failed(GifError::NoMemory);
  }
  if (fill != 0) {
    fill_rows(dib, static_cast<std::uint8_t>(fill));
  }
  if (const GifError error = read_frame(gif, dib, colour_count); error != GifError::None) {
    return failed(error);
  }
  GifDecodeResult result;
  result.dib = std::move(dib);
  return result;
}

const char* gif_error_name(GifError error) {
  switch (error) {
    case GifError::None:
      return "None";
    case GifError::NotGif:
      return "NotGif";
    case GifError::Malformed:
      return "Malformed";
    case GifError::BadDimensions:
      return "BadDimensions";
    case GifError::TooLarge:
      return "TooLarge";
    case GifError::NoImage:
      return "NoImage";
    case GifError::NoColourTable:
      return "NoColourTable";
    case GifError::FrameOutsideScreen:
      return "FrameOutsideScreen";
    case GifError::BadPaletteIndex:
      return "BadPaletteIndex";
    case GifError::NoMemory:
      return "NoMemory";
  }
  return "Unknown";
}

}  // namespace piconel
