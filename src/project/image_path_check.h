#pragma once

// Image paths the project file can hold. A row is read back as a keyed
// entry when a '=' comes before its first TAB, so a path holding '=' would
// come back as a different, broken row after a save and reload; the format
// has no escape for it. Paths are refused when the image is added.

#include <string_view>

#include "project/project_ports.h"

namespace piconel {

// True when a row starting with `path` reads back unchanged: no '=', and no
// TAB or byte below 0x20 (they would end the path column or the line).
[[nodiscard]] bool is_storable_image_path(std::string_view path);

// is_storable_image_path; when false and an owner is given, shows
// "ファイルのパスに「=」が含まれているため、この画像は追加できません。\n<path>" with
// caption "ピコネル：画像の追加" and the exclamation icon. (Adding images lists
// such paths among the files not added instead: is_storable_image_path.)
[[nodiscard]] bool check_image_path_storable(std::string_view path, Prompter* owner);

}  // namespace piconel
