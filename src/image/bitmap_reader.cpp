#include "image/bitmap_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "image/bitmap_info.h"
#include "image/byte_reader.h"
#include "image/checked_size.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

// One colour channel of a 16- or 32-bit pixel, given by its mask.
struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  unsigned bits = 0;

  // To 8 bits as GDI widens them: a wider channel keeps its top 8 bits, a
  // narrower one has its bits repeated below it down to bit 0 (5 bits:
  // v << 3 | v >> 2; 6 bits: v << 2 | v >> 4), so colours match what
  // Windows and image editors show for the same file.
  std::uint8_t widen(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) {
      return static_cast<std::uint8_t>(value >> (bits - 8));
    }
    std::uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += static_cast<int>(bits)) {
      wide |= (value << 8) >> (filled + static_cast<int>(bits));
    }
    return static_cast<std::uint8_t>(wide & 0xFF);
  }
};

struct Header {
  std::uint32_t header_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // row count, positive
  bool top_down = false;
  std::int32_t depth = 0;
  std::uint32_t compression = kBiRgb;
  bool use_masks = false;             // 16 bits, or 32 bits with bit fields
  std::array<Channel, 3> channels{};  // red, green, blue
  std::uint32_t palette_length = 0;
  std::size_t table_offset = 0;  // from the start of the info header
  std::size_t table_entry_bytes = 4;
};

bool known_depth(std::int32_t depth) {
  switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

// A mask is usable when it is one run of set bits inside the pixel and shares
// no bit with the other channels.
bool make_channels(const std::array<std::uint32_t, 3>& masks, std::int32_t depth,
                   std::array<Channel, 3>& channels) {
  std::uint32_t seen = 0;
  for (std::size_t i = 0; i < masks.size(); ++i) {
    const std::uint32_t mask = masks[i];
    if (mask == 0 || (mask & seen) != 0) {
      return false;
    }
    if (depth == 16 && (mask >> 16) != 0) {
      return false;
    }
    const auto shift = static_cast<unsigned>(std::countr_zero(mask));
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) {
      return false;
    }
    channels[i] = {mask, shift, static_cast<unsigned>(std::popcount(run))};
    seen |= mask;
  }
  return true;
}

BitmapError parse_header(std::span<const std::uint8_t> info, Header& h) {
  ByteReader reader(info);
  h.header_size = reader.u32_le();
  if (!reader.ok()) {
    return BitmapError::Truncated;
  }
  switch (h.header_size) {
    case kCoreHeaderBytes:
    case kInfoHeaderBytes:
    case kV2HeaderBytes:  // adds the three colour masks
    case kV3HeaderBytes:  // adds the alpha mask
    case kV4HeaderBytes:
    case kV5HeaderBytes:
      break;
    default:
      return BitmapError::BadHeaderSize;
  }
  if (h.header_size > info.size()) {
    return BitmapError::Truncated;
  }

  std::uint32_t colours_used = 0;
  if (h.header_size == kCoreHeaderBytes) {
    // BITMAPCOREHEADER: unsigned 16-bit sizes, always bottom-up, no
    // compression, a full table of 3-byte entries for 8 bits or less.
    h.width = reader.u16_le();
    h.height = reader.u16_le();
    reader.skip(2);  // planes
    h.depth = reader.u16_le();
    h.table_entry_bytes = 3;
  } else {
    h.width = reader.i32_le();
    const std::int32_t raw_height = reader.i32_le();
    reader.skip(2);  // planes: GDI ignores it, and so do we
    h.depth = reader.u16_le();
    h.compression = reader.u32_le();
    reader.skip(12);  // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
    colours_used = reader.u32_le();
    if (raw_height == INT32_MIN) {
      return BitmapError::BadDimensions;
    }
    h.top_down = raw_height < 0;
    h.height = h.top_down ? -raw_height : raw_height;
  }
  if (!reader.ok()) {
    return BitmapError::Truncated;
  }
  switch (check_picture_size(h.width, h.height)) {
    case PictureSizeCheck::Ok:
      break;
    case PictureSizeCheck::BadDimensions:
      return BitmapError::BadDimensions;
    case PictureSizeCheck::TooLarge:
      return BitmapError::TooLarge;
  }
  if (!known_depth(h.depth)) {
    return BitmapError::BadBitDepth;
  }

  h.table_offset = h.header_size;
  if (h.compression == kBiBitfields) {
    if (h.depth != 16 && h.depth != 32) {
      return BitmapError::Compressed;
    }
    // Masks follow a 40-byte header; larger headers carry them at offset 40.
    reader.seek(kInfoHeaderBytes);
    std::array<std::uint32_t, 3> masks{};
    for (auto& mask : masks) {
      mask = reader.u32_le();
    }
    if (!reader.ok()) {
      return BitmapError::Truncated;
    }
    if (!make_channels(masks, h.depth, h.channels)) {
      return BitmapError::BadMasks;
    }
    h.use_masks = true;
    if (h.header_size == kInfoHeaderBytes) {
      h.table_offset += 12;
    }
  } else if (h.compression != kBiRgb) {
    return BitmapError::Compressed;
  } else if (h.depth == 16) {
    // BI_RGB 16 bits is 5-5-5 with the top bit unused.
    const bool made = make_channels({0x7C00u, 0x03E0u, 0x001Fu}, 16, h.channels);
    static_cast<void>(made);
    h.use_masks = true;
  }

  if (h.depth <= 8) {
    const std::uint32_t full = std::uint32_t{1} << h.depth;
    if (colours_used > full) {
      return BitmapError::PaletteTooLarge;
    }
    h.palette_length = colours_used != 0 ? colours_used : full;
  } else if (colours_used > 256) {
    return BitmapError::PaletteTooLarge;
  }
  // Only pictures of 8 bits or less use their colour table; a deeper
  // picture's optional table is not read, so it need not be present.
  const std::size_t table_bytes = h.palette_length * h.table_entry_bytes;
  if (h.table_offset > info.size() || table_bytes > info.size() - h.table_offset) {
    return BitmapError::PaletteTruncated;
  }
  return BitmapError::None;
}

void convert_masked_row(const Header& h, const std::uint8_t* source, std::uint8_t* target) {
  const bool wide = h.depth == 32;
  const std::size_t out_bytes = wide ? 4 : 3;
  for (std::int32_t x = 0; x < h.width; ++x) {
    std::uint32_t value = 0;
    if (wide) {
      const std::uint8_t* p = source + static_cast<std::size_t>(x) * 4;
      value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
              (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    } else {
      const std::uint8_t* p = source + static_cast<std::size_t>(x) * 2;
      value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
    }
    std::uint8_t* out = target + static_cast<std::size_t>(x) * out_bytes;
    out[0] = h.channels[2].widen(value);
    out[1] = h.channels[1].widen(value);
    out[2] = h.channels[0].widen(value);
    if (wide) {
      out[3] = 0;
    }
  }
}

BitmapError build_dib(const Header& h, std::span<const std::uint8_t> info,
                      std::span<const std::uint8_t> pixels, Dib& dib) {
  const std::int32_t out_depth = h.depth == 16 ? 24 : h.depth;
  const std::size_t source_stride = dib_stride(h.depth, h.width);
  const std::size_t out_stride = dib_stride(out_depth, h.width);
  const auto rows = static_cast<std::uint64_t>(h.height);
  const auto source_bytes = checked_mul(source_stride, rows, kMaxBitmapBytes);
  const auto out_bytes = checked_mul(out_stride, rows, kMaxBitmapBytes);
  if (!source_bytes || !out_bytes) {
    return BitmapError::TooLarge;
  }
  if (pixels.size() < *source_bytes) {
    return BitmapError::PixelsTruncated;
  }

  dib.width = h.width;
  dib.height = h.height;
  dib.bits_per_pixel = out_depth;
  dib.file_bits_per_pixel = h.depth;
  dib.stride = out_stride;
  if (!try_assign(dib.colour_table, h.palette_length, PaletteEntry{})) {
    return BitmapError::NoMemory;
  }
  for (std::size_t i = 0; i < h.palette_length; ++i) {
    const std::uint8_t* entry = info.data() + h.table_offset + i * h.table_entry_bytes;
    dib.colour_table[i] = {entry[0], entry[1], entry[2], 0};
  }
  // Bottom-up rows stored as they are (most files): one copy, without
  // clearing the buffer first.
  if (!h.use_masks && !h.top_down && out_stride == source_stride) {
    const std::span<const std::uint8_t> stored = pixels.first(static_cast<std::size_t>(*out_bytes));
    return allocation_succeeds([&] { dib.pixels.assign(stored.begin(), stored.end()); })
               ? BitmapError::None
               : BitmapError::NoMemory;
  }
  if (!try_assign(dib.pixels, static_cast<std::size_t>(*out_bytes), std::uint8_t{0})) {
    return BitmapError::NoMemory;
  }
  for (std::size_t row = 0; row < rows; ++row) {
    const std::size_t source_row = h.top_down ? static_cast<std::size_t>(rows - 1 - row) : row;
    const std::uint8_t* source = pixels.data() + source_row * source_stride;
    std::uint8_t* target = dib.pixels.data() + row * out_stride;
    if (h.use_masks) {
      convert_masked_row(h, source, target);
    } else {
      std::memcpy(target, source, out_stride);
    }
  }
  return BitmapError::None;
}

BitmapReadResult finish(BitmapError error, Dib&& dib) {
  BitmapReadResult result;
  result.error = error;
  if (error == BitmapError::None) {
    result.dib = std::move(dib);
  }
  return result;
}

}  // namespace

BitmapReadResult read_bitmap_file(std::span<const std::uint8_t> file) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') {
    return finish(BitmapError::NotBitmap, {});
  }
  ByteReader reader(file);
  reader.seek(10);
  const std::uint32_t pixel_offset = reader.u32_le();  // bfOffBits
  if (!reader.ok()) {
    return finish(BitmapError::Truncated, {});
  }
  const auto info = file.subspan(kBitmapFileHeaderBytes);
  Header header;
  if (const BitmapError error = parse_header(info, header); error != BitmapError::None) {
    return finish(error, {});
  }
  // The pixels lie after the headers (and masks) and inside the file. The
  // colour table may overlap them; it was checked against the file above.
  if (pixel_offset < kBitmapFileHeaderBytes + header.table_offset || pixel_offset > file.size()) {
    return finish(BitmapError::OffsetOutOfRange, {});
  }
  Dib dib;
  const BitmapError error = build_dib(header, info, file.subspan(pixel_offset), dib);
  return finish(error, std::move(dib));
}

BitmapReadResult read_bitmap_info(std::span<const std::uint8_t> bitmap_info,
                                  std::span<const std::uint8_t> pixels) {
  Header header;
  if (const BitmapError error = parse_header(bitmap_info, header); error != BitmapError::None) {
    return finish(error, {});
  }
  Dib dib;
  const BitmapError error = build_dib(header, bitmap_info, pixels, dib);
  return finish(error, std::move(dib));
}

const char* bitmap_error_name(BitmapError error) {
  switch (error) {
    case BitmapError::None:
      return "None";
    case BitmapError::NotBitmap:
      return "NotBitmap";
    case BitmapError::Truncated:
      return "Truncated";
    case BitmapError::BadHeaderSize:
      return "BadHeaderSize";
    case BitmapError::BadDimensions:
      return "BadDimensions";
    case BitmapError::BadBitDepth:
      return "BadBitDepth";
    case BitmapError::Compressed:
      return "Compressed";
    case BitmapError::BadMasks:
      return "BadMasks";
    case BitmapError::PaletteTooLarge:
      return "PaletteTooLarge";
    case BitmapError::PaletteTruncated:
      return "PaletteTruncated";
    case BitmapError::OffsetOutOfRange:
      return "OffsetOutOfRange";
    case BitmapError::PixelsTruncated:
      return "PixelsTruncated";
    case BitmapError::TooLarge:
      return "TooLarge";
    case BitmapError::NoMemory:
      return "NoMemory";
  }
  return "Unknown";
}

}  // namespace piconel
