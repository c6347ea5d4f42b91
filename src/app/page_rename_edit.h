#pragma once

// The end of an in-place edit of a page name in the page list: which edits
// are refused, with which message, and what they change.

#include <string_view>

#include "project/project.h"

namespace piconel {

enum class PageNameEdit {
  Refused,   // the row keeps showing the page's stored name
  Accepted,  // the row shows the new text (also the unchanged name)
};

// `new_name` (CP932) for page `index`: a name the page-name rule refuses gets
// its message through `owner` ("(%d文字目)") and is refused with nothing
// changed, as is an empty one or one longer than 30 bytes. Otherwise the page
// is renamed (its row's columns refreshed), or, when another page has that
// name, the edit is refused without a message; in both cases, and also when
// the name did not change, the project is marked modified.
[[nodiscard]] PageNameEdit finish_page_name_edit(Project& project, int index,
                                                 std::string_view new_name, Prompter& owner);

}  // namespace piconel
