#pragma once

// The image list window: class "imglist", a floating tool window with one
// row per image entry of the current page, in list order; the list asks for
// the texts of the rows it draws. It mirrors the
// page model: its rows and their selection follow the model's notices, and
// a selection made here goes to the model (which the sheet follows). It
// opens the image settings on a double-click. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>
#include <cstddef>

#include <commctrl.h>

#include <vector>

#include "app/app_win32.h"
#include "app/list_window_base_win32.h"
#include "project/page_images.h"

namespace piconel {

inline constexpr wchar_t kImageListClass[] = L"imglist";

class ImageListWindow final : public ListWindowBase, public PageObserver {
 public:
  explicit ImageListWindow(App& app);
  ~ImageListWindow() override;

  // The rows follow the page; nothing while the window is closed. A row
  // moved by Ctrl+Up / Ctrl+Down keeps its focus and is scrolled into view.
  void page_changed(const PageChange& change) override;

 private:
  void fill_rows() override { fill(app_.project.images.entries()); }
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  // The list's row count (the entries' texts are asked for as drawn).
  void set_row_count(std::size_t rows);
  // Rows `first` to `last` selected as their entries are.
  void show_row_selection(int first, int last);
  void redraw_rows(int first, int last);
  // LVN_GETDISPINFOW: a row's text, from its entry.
  void give_row_text(NMLVDISPINFOW& request);
  // The rows of a selection change; then the list gets WM_SETFOCUS.
  void show_selection(const std::vector<EntryChange>& items);
  // With redrawing off: a row for every entry, in order.
  void fill(const ImageEntryList& entries);
  void reorder_rows(const std::vector<EntryChange>& steps);
  void list_state_changed(const NMLISTVIEW& change);
  void list_range_changed(const NMLVODSTATECHANGE& change);
  // The model selects what the list's rows show selected.
  void take_list_selection();
  void double_clicked(int row);

  // While rows are inserted or deleted here, the list's state notifications
  // describe no choice of the user and are not mirrored to the sheet.
  int row_work_ = 0;
};

}  // namespace piconel
