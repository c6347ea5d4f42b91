#pragma once

// Adding image files to the current page, from the open dialog or dropped
// on the window: the type list of the dialog and the loop over the files
// with the placement cursor carried from file to file.

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/open_image_entry.h"
#include "project/project_ports.h"

namespace piconel {

// The file types of the "画像を追加" dialog, built in one 1024-byte buffer:
// "すべてのファイル (*.*)" with "*.*", then the plug-ins' pairs behind it.
struct ImageFilters {
  std::array<char, 1024> buffer{};
  std::vector<FileFilter> pairs;  // views into `buffer`
  ImageFilters() = default;
  ImageFilters(const ImageFilters&) = delete;
  ImageFilters& operator=(const ImageFilters&) = delete;
};

// `write_plugin_pairs` writes the plug-ins' pairs (description and pattern,
// each ending in a zero byte, a closing zero after the last) into the span
// it is given and returns the bytes written; see build_plugin_filter.
void build_image_filters(ImageFilters& filters,
                         const std::function<std::size_t(std::span<char>)>& write_plugin_pairs);

// Adds `paths` in order through `add` (which places one image and moves the
// cursor; false when the file cannot be read or the page is full). A path a
// project row cannot hold is refused with check_image_path_storable's message
// through `owner` and never read. `cursor` (none: each image starts at 0,0)
// is carried from file to file. Returns the number of images added.
int add_image_files(std::span<const std::string> paths, PlacementCursor* cursor, Prompter* owner,
                    const std::function<bool(std::string_view, PlacementCursor*)>& add);

}  // namespace piconel
