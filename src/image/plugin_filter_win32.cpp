// Extension matching and the open-file filter text of the plug-in host. No
// Win32 calls here; the file is built with the host, which exists only on
// Windows.

#include <algorithm>

#include "image/plugin_host.h"
#include "store/cp932.h"

namespace piconel {

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

std::size_t PluginHost::build_plugin_filter(std::span<char> buffer) const {
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
  for (const Plugin& plugin : plugins_) {
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

}  // namespace piconel
