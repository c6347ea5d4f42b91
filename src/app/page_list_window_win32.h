#pragma once

// The page list window: class "pagelist", a floating tool window with one
// row per page in project order. It is the project's page list view, switches
// pages on a double-click or Enter, renames a page in place, and offers the
// page context menu (menu resource 111). While a property dialog is open it
// acts only on its close request and the selection rule. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <commctrl.h>

#include "app/app_win32.h"
#include "app/list_window_base_win32.h"
#include "project/project_ports.h"

namespace piconel {

inline constexpr wchar_t kPageListClass[] = L"pagelist";

class PageListWindow final : public ListWindowBase, public PageListView {
 public:
  explicit PageListWindow(App& app);
  ~PageListWindow() override { destroy(); }

  // The row under the last right-click, -1 when it hit no row.
  [[nodiscard]] int clicked_row() const { return clicked_row_; }

  // F2: edits the name of the page whose row has the focus; nothing without
  // pages, without a focused row, or while a property dialog is open.
  void start_rename();
  // Delete: the page whose row has the focus, after the page deletion's
  // question owned by this window; nothing without a focused row or while a
  // property dialog is open.
  void delete_focused_page();

  // PageListView.
  bool is_open() const override { return window_ != nullptr; }
  void begin_fill() override;
  void end_fill() override;
  void remove_all_items() override;
  void insert_item(int index, std::string_view name) override;
  void remove_item(int index) override;
  void set_item_texts(int index, const PageItemTexts& texts) override;
  // Selected and focused, unless the first selected row is already `index`.
  void select_item(int index) override;
  int focused_item() const override;
  void move_item(int from, int to) override;

 private:
  // A row per page; the current page's row is selected when the list
  // draws itself.
  void fill_rows() override;
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  // No name is edited any more.
  void forget() override;
  void apply_selection_rule();
  LRESULT list_notification(const NMHDR& header, LPARAM lparam);
  void show_context_menu(const NMITEMACTIVATE& click);
  void run_menu_command(UINT id);
  BOOL begin_edit(const NMLVDISPINFOW& edit);
  BOOL end_edit(const NMLVDISPINFOW& edit);

  int clicked_row_ = -1;
};

}  // namespace piconel
