#pragma once

// The image list window: class "imglist", a floating tool window with one
// row per image entry of the current page, in list order. It mirrors the
// page model: its rows and their selection follow the model's notices, and
// a selection made here goes to the model (which the sheet follows). It
// opens the image settings on a double-click. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <vector>

#include "app/app_win32.h"
#include "project/page_images.h"

namespace piconel {

inline constexpr wchar_t kImageListClass[] = L"imglist";

class ImageListWindow final : public PageObserver {
 public:
  explicit ImageListWindow(App& app) : app_(app) { app_.project.images.subscribe(*this); }
  // Destroys the window if it is still open (its owner usually did).
  ~ImageListWindow() override;
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

  // The rows follow the page; nothing while the window is closed. A row
  // moved by Ctrl+Up / Ctrl+Down keeps its focus and is scrolled into view.
  void page_changed(const PageChange& change) override;

  // The window's messages (public for its thunk).
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void insert_row(int index, const ImageEntry& entry, UINT extra_state);
  // Selected and focused, or focused only; then the list gets WM_SETFOCUS.
  void set_row_selected(int index, bool selected);
  // With redrawing off: a row for every entry, in order.
  void fill(const ImageEntryList& entries);
  void reorder_rows(const std::vector<EntryChange>& steps);
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
