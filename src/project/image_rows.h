#pragma once

// The current page's image rows and its image entries: a row becomes an
// entry (or, when its image cannot be opened, a carried row), and an entry
// becomes a row again.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace piconel {

// Adds the entry one image row describes to the end of the list, at the
// row's position with the row's settings block. A relative path is resolved
// against the project folder. On failure, shows the unreadable-image prompt
// through `*prompt_owner` when it is set (Cancel sets it to none), keeps the
// row as a carried row (carried_row_form) and returns false.
bool add_image_row(Project& project, std::string_view row, Prompter** prompt_owner);

// The form a row is carried in: made full against the project folder (the
// form loaded images are written back in) when that full row reads back as
// the same image; otherwise as read.
[[nodiscard]] std::string carried_row_form(std::string_view row, std::string_view folder);

// The row an entry is written back as (row_path_for_entry decides its path).
[[nodiscard]] std::string entry_row(const ImageEntry& entry, std::string_view folder);

// The full paths add_image_row opens for `rows`, in order; rows whose path
// does not resolve are left out.
[[nodiscard]] std::vector<std::string> row_full_paths(std::span<const std::string> rows,
                                                      std::string_view folder);

// The values of the entries of "FILELIST:<page>", in order.
[[nodiscard]] std::vector<std::string> page_rows(DocumentStore& store, std::string_view page_name);

}  // namespace piconel
