#pragma once

// The image list window: class "imglist", a floating tool window with one
// row per image entry of the current page, in list order. It mirrors the
// sheet's selection both ways, opens the image settings on a double-click
// and moves the selected block with Ctrl+Up / Ctrl+Down. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include "app/app_win32.h"
#include "app/image_order.h"
#include "app/list_window_base_win32.h"

namespace piconel {

inline constexpr wchar_t kImageListClass[] = L"imglist";

class ImageListWindow final : public ListWindowBase {
 public:
  explicit ImageListWindow(App& app);
  ~ImageListWindow() override { destroy(); }

  // Row work; each does nothing while the window is closed.
  void append_row(const ImageEntry& entry);
  // Selected and focused, or focused only; then the list gets WM_SETFOCUS.
  void set_row_selected(int index, bool selected);
  void remove_row(int index);
  // With redrawing off: a row for every entry, in order.
  void fill(const ImageEntryList& entries);
  void clear();
  // The "ラベル名" column of the entry's row.
  void row_changed(const ImageEntry& entry);
  // Ctrl+Up / Ctrl+Down: the selected entries one place up or down as a
  // block (rows follow; a focused row keeps the focus and is scrolled into
  // view); the project is marked modified also when nothing moved.
  void move_selected(MoveDirection direction);

 private:
  void fill_rows() override { fill(app_.project.entries); }
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  void insert_row(int index, const ImageEntry& entry, UINT extra_state);
  void list_state_changed(const NMLISTVIEW& change);
  void double_clicked(int row);

  // While rows are inserted or deleted here, the list's state notifications
  // describe no choice of the user and are not mirrored to the sheet.
  int row_work_ = 0;
};

}  // namespace piconel
