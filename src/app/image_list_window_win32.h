#pragma once

// The image list window: class "imglist", a floating tool window with one
// row per image entry of the current page, in list order. It mirrors the
// sheet's selection both ways, opens the image settings on a double-click
// and moves the selected block with Ctrl+Up / Ctrl+Down. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include "app/app_win32.h"
#include "app/image_order.h"

namespace piconel {

inline constexpr wchar_t kImageListClass[] = L"imglist";

class ImageListWindow {
 public:
  explicit ImageListWindow(App& app) : app_(app) {}
  // Destroys the window if it is still open (its owner usually did).
  ~ImageListWindow();
  ImageListWindow(const ImageListWindow&) = delete;
  ImageListWindow& operator=(const ImageListWindow&) = delete;

  [[nodiscard]] bool is_open() const { return window_ != nullptr; }
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND list() const { return list_; }

  // Creates the window at the stored geometry with a row per entry; nothing
  // when it exists. False when it cannot be made.
  bool open();
  // Posts the window a close request.
  void request_close() const;
  // The window's rectangle and column widths into the in-memory geometry.
  void store_geometry() const;

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

  // The window's messages (public for its thunk).
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void insert_row(int index, const ImageEntry& entry, UINT extra_state);
  void list_state_changed(const NMLISTVIEW& change);
  void double_clicked(int row);
  void close();

  App& app_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  // While rows are inserted or deleted here, the list's state notifications
  // describe no choice of the user and are not mirrored to the sheet.
  int row_work_ = 0;
};

}  // namespace piconel
