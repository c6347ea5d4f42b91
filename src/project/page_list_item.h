#pragma once

// The texts of one page list row.

#include "project/project.h"

namespace piconel {

// Sets the texts of page list row `index` (name, effective manual width and
// height, own PAGELABEL). Nothing when the page list is closed, the index is
// negative or names no page.
void refresh_page_item(Project& project, int index);

}  // namespace piconel
