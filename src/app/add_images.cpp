#include "app/add_images.h"

#include <algorithm>
#include <cstring>

#include "project/image_path_check.h"
#include "project/project_texts.h"

namespace piconel {

namespace {

// Appends "text\0" to buffer at `used`; false when it does not fit.
bool append_text(std::span<char> buffer, std::size_t& used, std::string_view text) {
  if (text.size() + 1 > buffer.size() - used) {
    return false;
  }
  std::memcpy(buffer.data() + used, text.data(), text.size());
  used += text.size();
  buffer[used++] = '\0';
  return true;
}

}  // namespace

void build_image_filters(ImageFilters& filters,
                         const std::function<std::size_t(std::span<char>)>& write_plugin_pairs) {
  std::span<char> buffer(filters.buffer);
  std::size_t used = 0;
  static_cast<void>(append_text(buffer, used, project_texts::kAllFilesFilterName));
  static_cast<void>(append_text(buffer, used, "*.*"));
  const std::size_t written = write_plugin_pairs ? write_plugin_pairs(buffer.subspan(used)) : 0;
  const std::size_t end = std::min(buffer.size(), used + written);

  // Read the pairs back from the whole buffer: each text ends at its zero;
  // an empty text (the closing zero) or the end of the bytes stops.
  filters.pairs.clear();
  std::size_t position = 0;
  const auto next_text = [&](std::string_view& text) {
    if (position >= end) {
      return false;
    }
    const char* start = filters.buffer.data() + position;
    const std::size_t length =
        static_cast<std::size_t>(std::find(start, start + (end - position), '\0') - start);
    if (length == 0 || length == end - position) {
      return false;
    }
    text = std::string_view(start, length);
    position += length + 1;
    return true;
  };
  std::string_view description;
  std::string_view pattern;
  while (next_text(description) && next_text(pattern)) {
    filters.pairs.push_back({description, pattern});
  }
}

int add_image_files(std::span<const std::string> paths, PlacementCursor* cursor, Prompter* owner,
                    const std::function<bool(std::string_view, PlacementCursor*)>& add) {
  int added = 0;
  for (const std::string& path : paths) {
    if (!check_image_path_storable(path, owner)) {
      continue;
    }
    if (add(path, cursor)) {
      ++added;
    }
  }
  return added;
}

}  // namespace piconel
