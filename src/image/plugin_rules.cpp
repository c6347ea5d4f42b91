// The plug-in host's rules that need no library calls: which version strings
// load, which extension patterns claim a file, where plug-ins are looked for,
// the open-file filter text and the checks on a decoded picture's blocks.

#include <algorithm>
#include <limits>

#include "image/bitmap_info.h"
#include "image/byte_reader.h"
#include "image/plugin_host.h"
#include "store/cp932.h"

namespace piconel {

namespace {

bool is_dib_depth(std::uint32_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

bool is_image_filter_version(std::string_view text, int returned) {
  return returned >= 4 && text.size() >= 4 && text[0] == '0' && text[1] == '0' && text[2] == 'I' &&
         text[3] != 'M';
}

std::string_view plugin_info_text(std::span<const char> buffer) {
  if (buffer.empty()) {
    return {};
  }
  const std::size_t limit = buffer.size() - 1;
  const auto end =
      std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(limit), '\0');
  return std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.begin()));
}

bool patterns_match_extension(std::string_view patterns, std::string_view extension) {
  if (extension.empty()) {
    return false;
  }
  std::size_t pos = 0;
  while (pos < patterns.size()) {
    const auto byte = static_cast<unsigned char>(patterns[pos]);
    if (is_cp932_lead_byte(byte)) {
      pos += 2;
      continue;
    }
    if (byte != '.') {
      ++pos;
      continue;
    }
    // A pattern runs from this '.' to the next ';' or the end of the text.
    std::size_t end = pos + 1;
    while (end < patterns.size() && patterns[end] != ';') {
      end += is_cp932_lead_byte(static_cast<unsigned char>(patterns[end])) ? 2 : 1;
    }
    end = std::min(end, patterns.size());
    if (equals_ignoring_ascii_case(patterns.substr(pos, end - pos), extension)) {
      return true;
    }
    ++pos;
  }
  return false;
}

bool plugin_claims_extension(const Plugin& plugin, std::string_view extension) {
  return std::any_of(plugin.pairs.begin(), plugin.pairs.end(), [&](const PluginPair& pair) {
    return patterns_match_extension(pair.patterns, extension);
  });
}

std::string with_folder_separator(std::string_view folder) {
  std::string result(folder);
  if (!ends_with_path_separator(folder)) {
    result.push_back('\\');
  }
  return result;
}

std::vector<std::string> plugin_folders(std::string_view program_folder,
                                        const std::optional<std::string>& susie_folder) {
  std::vector<std::string> folders;
  folders.push_back(with_folder_separator(program_folder));
  folders.push_back(folders.front() + std::string(kPluginSubfolder) + "\\");
  if (susie_folder.has_value() && !susie_folder->empty()) {
    folders.push_back(with_folder_separator(*susie_folder));
  }
  return folders;
}

std::size_t build_plugin_filter(std::span<const Plugin> plugins, std::span<char> buffer) {
  if (buffer.empty()) {
    return 0;
  }
  // The last byte is kept for the zero that closes the list.
  const std::size_t room = buffer.size() - 1;
  std::size_t used = 0;
  const auto append = [&](std::string_view text) {
    std::copy(text.begin(), text.end(), buffer.begin() + static_cast<std::ptrdiff_t>(used));
    used += text.size();
    buffer[used++] = '\0';
  };
  for (const Plugin& plugin : plugins) {
    for (const PluginPair& pair : plugin.pairs) {
      const std::size_t pair_bytes = pair.description.size() + 1 + pair.patterns.size() + 1;
      if (pair_bytes > kMaxFilterPairBytes) {
        continue;
      }
      if (pair_bytes > room - used) {
        break;  // the rest of this plug-in is dropped; the next one may still fit
      }
      append(pair.description);
      append(pair.patterns);
    }
  }
  buffer[used++] = '\0';
  return used;
}

std::optional<PluginPictureSizes> plugin_picture_sizes(std::span<const std::uint8_t> info,
                                                       std::size_t bits_size) {
  if (info.size() < kInfoHeaderBytes) {
    return std::nullopt;
  }
  ByteReader header(info);
  header.skip(4);  // biSize
  const std::int32_t width = header.i32_le();
  const std::int32_t height = header.i32_le();
  header.skip(2);  // biPlanes
  const std::uint32_t depth = header.u16_le();
  const std::uint32_t compression = header.u32_le();
  header.skip(12);  // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
  const std::uint32_t colours_used = header.u32_le();
  if (!header.ok() || width <= 0 || height == 0 || !is_dib_depth(depth)) {
    return std::nullopt;
  }

  std::uint64_t table_entries = colours_used;
  if (table_entries == 0 && depth <= 8) {
    table_entries = std::uint64_t{1} << depth;
  }
  table_entries = std::min<std::uint64_t>(table_entries, kMaxColourTableEntries);
  std::uint64_t table_bytes = table_entries * 4;
  if (compression == kBiBitfields) {
    table_bytes += 12;
  }
  const std::uint64_t info_bytes = kInfoHeaderBytes + table_bytes;
  if (info_bytes > info.size()) {
    return std::nullopt;
  }

  // Rows are padded to 4 bytes: ceil(width * depth / 32) * 4.
  const std::uint64_t row_bits = static_cast<std::uint64_t>(width) * depth;
  const std::uint64_t stride = (row_bits + 31) / 32 * 4;
  const std::int64_t signed_rows = height;
  const auto rows = static_cast<std::uint64_t>(signed_rows < 0 ? -signed_rows : signed_rows);
  if (rows > std::numeric_limits<std::uint64_t>::max() / stride) {
    return std::nullopt;
  }
  const std::uint64_t pixel_bytes = stride * rows;
  if (pixel_bytes > bits_size) {
    return std::nullopt;
  }
  return PluginPictureSizes{static_cast<std::size_t>(info_bytes),
                            static_cast<std::size_t>(pixel_bytes)};
}

}  // namespace piconel
