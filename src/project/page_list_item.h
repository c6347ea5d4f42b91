#pragma once

// The texts of one page list row.

#include "project/project.h"

namespace piconel {

// Sets the texts of page list row `index` (name, effective manual width and
// height, own PAGELABEL). Nothing when the page list is closed, the index is
// negative or names no page.
void refresh_page_item(Project& project, int index);

// The texts of every page list row again (after a settings dialog changed
// what they show). The rows stay where they are, so their selected and
// focused states and the list's scroll position are kept: Enter, F2 and
// Ctrl+Up/Down still act on the page the user had in hand. Nothing while the
// page list is closed.
void refresh_page_items(Project& project);

}  // namespace piconel
