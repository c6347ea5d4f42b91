#pragma once

// The forms in which an image row's path is written. A row must read back as
// the same image after a save and reload: its path holds no '=' (the store
// would read the row back as a keyed entry) and no TAB or control byte, and a
// path that the image path rule does not take as absolute is resolved
// against the project folder when it is read.

#include <optional>
#include <string>
#include <string_view>

namespace piconel {

// The path an entry's row holds: `full_path` itself when a row starting with
// it reads back as that image; otherwise the part below `folder` (a project
// folder holding '=', or one the image path rule does not take as absolute),
// which is resolved against the folder again when read. None when neither
// form reads back.
[[nodiscard]] std::optional<std::string> row_path_for_entry(std::string_view full_path,
                                                            std::string_view folder);

// `row` with its relative path made full against `folder`, when the full row
// reads back as the same image: absolute by the image path rule, storable
// and at most 259 bytes. A row whose path is empty or already absolute, or
// an empty folder, gives the row unchanged. None when the path is relative
// and its full form would not read back: the row stays valid only beside
// `folder`.
[[nodiscard]] std::optional<std::string> full_image_row(std::string_view row,
                                                        std::string_view folder);

// `row` without `prefix` when it begins with exactly these bytes (case
// matters); otherwise the row unchanged.
[[nodiscard]] std::string relative_image_row(std::string_view row, std::string_view prefix);

}  // namespace piconel
