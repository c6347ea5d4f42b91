#pragma once

// What the two floating list windows share: their window class and tool
// window, the report-view list control with its columns, rows of CP932
// texts, and reading back their geometry. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "app/settings_model.h"

namespace piconel {

// Registers a list window class of `instance` once (class style 0, arrow
// cursor, no icon, no background brush); false when it fails.
[[nodiscard]] bool register_list_window_class(HINSTANCE instance, const wchar_t* class_name,
                                              WNDPROC procedure);

// A floating tool window owned by `owner`: visible, caption and sizing
// border, no system menu and so no close box, at `box` in screen
// coordinates. `target` reaches WM_NCCREATE. Null when it cannot be made.
[[nodiscard]] HWND create_list_window(HINSTANCE instance, const wchar_t* class_name,
                                      std::string_view title, const ListWindowBox& box, HWND owner,
                                      void* target);

// Where the list window with the rectangle `box` opens now, from the
// monitors' work areas and the main window's place (list_window_placement.h);
// without a main window, its monitor is the primary one.
[[nodiscard]] ListWindowBox list_window_box_on_screen(HWND main_window, const ListWindowBox& box,
                                                      bool placed, int top_offset);

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

// The window's screen rectangle as left, top, width, height.
[[nodiscard]] ListWindowBox window_box(HWND window);
// The widths of the first `widths.size()` columns.
void read_column_widths(HWND list, std::span<std::int32_t> widths);

}  // namespace piconel
