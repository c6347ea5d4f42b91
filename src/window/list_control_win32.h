#pragma once

// The report-view list control of the list windows: columns, rows of CP932
// texts and their states. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <string_view>

namespace piconel {

struct ListColumn {
  std::string_view header;  // CP932
  std::int32_t width = 0;
};

// A report-view list control filling `parent`'s client area, with full-row
// selection, grid lines and the left-aligned `columns`. `style` adds to
// child, visible, report view, selection always shown and headers that do
// not sort.
[[nodiscard]] HWND create_list_control(HWND parent, DWORD style,
                                       std::span<const ListColumn> columns);

// The frame was given the focus when it was created (before its list
// existed): the list takes it over. Nothing when the focus is elsewhere.
void pass_focus_to_list(HWND frame, HWND list);

// Inserts a row with `text` in column 0 before row `index` (at the end when
// -1 or past the end) with the LVIS_* `state`; the row's index, or -1.
int insert_list_row(HWND list, int index, std::string_view text, UINT state);
void set_list_text(HWND list, int row, int column, std::string_view text);
[[nodiscard]] int list_row_count(HWND list);
[[nodiscard]] UINT list_row_state(HWND list, int row, UINT mask);
void set_list_row_state(HWND list, int row, UINT state, UINT mask);

// The widths of the first `widths.size()` columns.
void read_column_widths(HWND list, std::span<std::int32_t> widths);

}  // namespace piconel
