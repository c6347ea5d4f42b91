#include "image/transparency_probe.h"

#include <array>
#include <cstring>

#include "image/byte_reader.h"

namespace piconel {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::size_t kPngChunkOverhead = 12;  // length, type, CRC
constexpr std::size_t kIhdrBytes = 13;

struct PngChunk {
  std::size_t data_offset = 0;
  std::size_t length = 0;
};

// Walks the chunks from the first one until `type` (found) or "IEND" (none).
std::optional<PngChunk> find_png_chunk(std::span<const std::uint8_t> bytes, const char* type) {
  ByteReader reader(bytes);
  reader.seek(kPngSignature.size());
  while (reader.ok()) {
    const std::size_t chunk_start = reader.position();
    const std::uint32_t length = reader.u32_be();
    const auto chunk_type = reader.take(4);
    if (!reader.ok()) {
      return std::nullopt;
    }
    // The whole chunk, CRC included, must be in the file.
    if (length > reader.remaining() || 4 > reader.remaining() - length) {
      return std::nullopt;
    }
    if (std::memcmp(chunk_type.data(), type, 4) == 0) {
      return PngChunk{chunk_start + 8, length};
    }
    if (std::memcmp(chunk_type.data(), "IEND", 4) == 0) {
      return std::nullopt;
    }
    reader.seek(chunk_start + kPngChunkOverhead + length);
  }
  return std::nullopt;
}

// Skips data sub-blocks (size byte, that many bytes) up to and including the
// one of size 0, whose size byte `size` has already been read when given.
void skip_sub_blocks(ByteReader& reader, std::uint8_t size) {
  while (reader.ok() && size != 0) {
    reader.skip(size);
    size = reader.u8();
  }
}

std::size_t colour_table_bytes(std::uint8_t packed) {
  return std::size_t{3} << ((packed & 7) + 1);
}

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size()) {
    return false;
  }
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != suffix[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::uint32_t> read_u32_be(std::span<const std::uint8_t> bytes, std::size_t pos) {
  if (pos > bytes.size() || 4 > bytes.size() - pos) {
    return std::nullopt;
  }
  return (static_cast<std::uint32_t>(bytes[pos]) << 24) |
         (static_cast<std::uint32_t>(bytes[pos + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes[pos + 2]) << 8) |
         static_cast<std::uint32_t>(bytes[pos + 3]);
}

bool write_u32_be(std::span<std::uint8_t> bytes, std::size_t pos, std::uint32_t value) {
  if (pos > bytes.size() || 4 > bytes.size() - pos) {
    return false;
  }
  bytes[pos] = static_cast<std::uint8_t>(value >> 24);
  bytes[pos + 1] = static_cast<std::uint8_t>(value >> 16);
  bytes[pos + 2] = static_cast<std::uint8_t>(value >> 8);
  bytes[pos + 3] = static_cast<std::uint8_t>(value);
  return true;
}

std::int32_t png_transparent_index(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPngSignature.size() ||
      std::memcmp(bytes.data(), kPngSignature.data(), kPngSignature.size()) != 0) {
    return -1;
  }
  const auto header = find_png_chunk(bytes, "IHDR");
  if (!header || header->length < kIhdrBytes) {
    return -1;
  }
  constexpr std::uint8_t kIndexedColour = 3;
  if (bytes[header->data_offset + 9] != kIndexedColour) {
    return -1;
  }
  const auto alpha = find_png_chunk(bytes, "tRNS");
  if (!alpha) {
    return -1;
  }
  // One alpha value per palette entry from entry 0; there are at most 256
  // entries, so a longer chunk is only looked at that far.
  const std::size_t count = alpha->length < 256 ? alpha->length : 256;
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[alpha->data_offset + i] == 0) {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

std::int32_t gif_transparent_index(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 13 || std::memcmp(bytes.data(), "GIF89a", 6) != 0) {
    return -1;
  }
  ByteReader reader(bytes);
  reader.seek(10);
  const std::uint8_t screen_packed = reader.u8();
  reader.seek(13);
  if ((screen_packed & 0x80) != 0) {
    reader.skip(colour_table_bytes(screen_packed));
  }
  while (reader.ok()) {
    const std::uint8_t introducer = reader.u8();
    if (!reader.ok()) {
      break;
    }
    if (introducer == 0x3B) {  // trailer
      return -1;
    }
    if (introducer == 0x21) {  // extension: label, then sub-blocks
      const std::uint8_t label = reader.u8();
      const std::uint8_t size = reader.u8();
      if (!reader.ok() || size == 0) {
        continue;
      }
      if (label == 0xF9) {  // graphic control extension
        const auto data = reader.take(size);
        if (!reader.ok() || size < 4) {
          return -1;
        }
        return (data[0] & 1) != 0 ? data[3] : -1;
      }
      skip_sub_blocks(reader, size);
      continue;
    }
    if (introducer == 0x2C) {  // image descriptor
      const auto descriptor = reader.take(9);
      if (!reader.ok()) {
        break;
      }
      const std::uint8_t packed = descriptor[8];
      if ((packed & 0x80) != 0) {
        reader.skip(colour_table_bytes(packed));
      }
      reader.skip(1);  // LZW minimum code size
      skip_sub_blocks(reader, reader.u8());
      continue;
    }
    // Any other byte is stepped over.
  }
  return -1;
}

std::int32_t probe_transparent_index(std::string_view path, std::span<const std::uint8_t> bytes) {
  if (ends_with_ignoring_case(path, ".png")) {
    return png_transparent_index(bytes);
  }
  if (ends_with_ignoring_case(path, ".gif")) {
    return gif_transparent_index(bytes);
  }
  return -1;
}

}  // namespace piconel
