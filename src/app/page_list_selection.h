#pragma once

// The page list's selection rule: the selected row is always the current
// page's row. Clicking another row therefore does not switch pages; the
// highlight goes back to the current page when the list next draws itself.

namespace piconel {

// The row that must be given the selected state when the list draws itself:
// the current page's row when the first selected row (-1: none) is another
// one; -1 when nothing is to change (already right, or the current page has
// no row).
[[nodiscard]] constexpr int page_row_to_select(int first_selected_row, int current_page,
                                               int row_count) {
  if (current_page < 0 || current_page >= row_count || first_selected_row == current_page) {
    return -1;
  }
  return current_page;
}

}  // namespace piconel
