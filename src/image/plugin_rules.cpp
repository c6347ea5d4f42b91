// The plug-in host's rules that need no library calls: which version strings
// load, which extension patterns claim a file, where plug-ins are looked for,
// and the open-file filter text (with the built-in decoders' pairs).

#include <algorithm>

#include "image/built_in_decoder.h"
#include "image/plugin_host.h"
#include "store/cp932.h"
#include "store/no_throw.h"

namespace piconel {

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

std::size_t build_decoder_filter(std::span<const Plugin> plugins, std::span<char> buffer) {
  std::vector<Plugin> all;
  const bool made = allocation_succeeds([&] {
    all.assign(plugins.begin(), plugins.end());
    Plugin built_in;
    for (const BuiltInPair& pair : kBuiltInPairs) {
      built_in.pairs.push_back({std::string(pair.patterns), std::string(pair.description)});
    }
    all.push_back(std::move(built_in));
  });
  // Without memory for the copy, the plug-ins' pairs alone.
  return build_plugin_filter(made ? std::span<const Plugin>(all) : plugins, buffer);
}

}  // namespace piconel
