#include "app/page_list_window_win32.h"

#include <array>
#include <string>

#include "app/busy_scope_win32.h"
#include "app/list_view_win32.h"
#include "app/page_list_selection.h"
#include "app/toolbar_win32.h"
#include "project/page_operations.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

// ページリスト
constexpr char kTitle[] = "\x83y\x81[\x83W\x83\x8a\x83X\x83g";
// 名前, 幅, 高さ, ラベル
constexpr char kNameHeader[] = "\x96\xbc\x91O";
constexpr char kWidthHeader[] = "\x95\x9d";
constexpr char kHeightHeader[] = "\x8d\x82\x82\xb3";
constexpr char kLabelHeader[] = "\x83\x89\x83x\x83\x8b";
constexpr int kColumns = 4;
constexpr UINT kRowStates = LVIS_SELECTED | LVIS_FOCUSED;

LRESULT page_list_message(PageListWindow& self, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam) {
  return self.handle_message(window, message, wparam, lparam);
}

std::string row_text(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&item));
  return to_cp932(std::wstring_view(text, static_cast<std::size_t>(length)));
}

}  // namespace

PageListWindow::~PageListWindow() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

bool PageListWindow::open() {
  if (window_ != nullptr) {
    return true;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!register_list_window_class(instance, kPageListClass,
                                  bound_window_procedure<PageListWindow, page_list_message>)) {
    return false;
  }
  const ListWindowBox box = list_window_box_on_screen(
      app_.main_window, app_.list_geometry.page_list, app_.list_geometry.page_list_placed, 0);
  const HWND window =
      create_list_window(instance, kPageListClass, kTitle, box, app_.main_window, this);
  if (window == nullptr) {
    return false;
  }
  window_ = window;
  const auto& widths = app_.list_geometry.page_list_columns;
  const std::array columns = {
      ListColumn{kNameHeader, widths[0]}, ListColumn{kWidthHeader, widths[1]},
      ListColumn{kHeightHeader, widths[2]}, ListColumn{kLabelHeader, widths[3]}};
  list_ = create_list_control(window_, LVS_SINGLESEL | LVS_EDITLABELS, columns);
  fill_page_list(app_.project);
  pass_focus_to_list(window_, list_);
  app_.page_list_open = true;
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  return true;
}

void PageListWindow::request_close() const {
  if (window_ != nullptr) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
  }
}

void PageListWindow::store_geometry() const {
  if (window_ == nullptr || list_ == nullptr) {
    return;
  }
  app_.list_geometry.page_list = window_box(window_);
  app_.list_geometry.page_list_placed = true;
  read_column_widths(list_, app_.list_geometry.page_list_columns);
}

// Drawing every inserted row at once took 50 ms a row under Wine (12 s for
// 256 pages).
void PageListWindow::begin_fill() {
  if (list_ != nullptr) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  }
}

void PageListWindow::end_fill() {
  if (list_ != nullptr) {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
}

void PageListWindow::remove_all_items() {
  if (list_ != nullptr) {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  }
}

void PageListWindow::insert_item(int index, std::string_view name) {
  if (list_ != nullptr) {
    static_cast<void>(insert_list_row(list_, index, name, 0));
  }
}

void PageListWindow::remove_item(int index) {
  if (list_ != nullptr && index >= 0) {
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  }
}

void PageListWindow::set_item_texts(int index, const PageItemTexts& texts) {
  if (list_ == nullptr || index < 0) {
    return;
  }
  set_list_text(list_, index, 0, texts.name);
  set_list_text(list_, index, 1, texts.width);
  set_list_text(list_, index, 2, texts.height);
  set_list_text(list_, index, 3, texts.label);
}

void PageListWindow::select_item(int index) {
  if (list_ == nullptr || index < 0) {
    return;
  }
  const int first = static_cast<int>(
      SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  if (first != index) {
    // The focus goes along, so Enter, F2 and Ctrl+Up/Down act on this page.
    set_list_row_state(list_, index, kRowStates, kRowStates);
  }
}

int PageListWindow::focused_item() const {
  if (list_ == nullptr) {
    return -1;
  }
  return static_cast<int>(
      SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

void PageListWindow::move_item(int from, int to) {
  if (list_ == nullptr || from < 0 || to < 0) {
    return;
  }
  std::array<std::string, kColumns> texts;
  for (int column = 0; column < kColumns; ++column) {
    texts[static_cast<std::size_t>(column)] = row_text(list_, from, column);
  }
  const UINT state = list_row_state(list_, from, kRowStates);
  SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(from), 0);
  const int row = insert_list_row(list_, to, texts[0], state);
  for (int column = 1; column < kColumns; ++column) {
    set_list_text(list_, row, column, texts[static_cast<std::size_t>(column)]);
  }
  SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void PageListWindow::apply_selection_rule() {
  const int first = static_cast<int>(
      SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  const int row = page_row_to_select(first, app_.project.current_page, list_row_count(list_));
  if (row >= 0) {
    set_list_row_state(list_, row, LVIS_SELECTED, LVIS_SELECTED);
  }
}

LRESULT PageListWindow::list_notification(const NMHDR& header, LPARAM lparam) {
  // The selection rule holds also while a dialog is open; the edit is
  // refused then. Everything else waits for the dialog to end.
  if (header.code == static_cast<UINT>(NM_CUSTOMDRAW)) {
    if (reinterpret_cast<const NMCUSTOMDRAW*>(lparam)->dwDrawStage == CDDS_PREPAINT) {
      apply_selection_rule();
    }
    return CDRF_DODEFAULT;
  }
  if (header.code == LVN_BEGINLABELEDITW) {
    return begin_edit(*reinterpret_cast<const NMLVDISPINFOW*>(lparam));
  }
  if (header.code == LVN_ENDLABELEDITW) {
    return end_edit(*reinterpret_cast<const NMLVDISPINFOW*>(lparam));
  }
  if (app_.dialog_guard != -1 || program_busy()) {
    return 0;
  }
  BusyScope busy;
  switch (header.code) {
    case NM_DBLCLK:
      if (const int row = reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem; row >= 0) {
        select_page(app_.project, row);
      }
      return 0;
    case NM_RETURN:
      select_page(app_.project, -1);
      return 0;
    case NM_RCLICK:
      show_context_menu(*reinterpret_cast<const NMITEMACTIVATE*>(lparam));
      return 0;
    default:
      return 0;
  }
}

void PageListWindow::close() {
  store_geometry();
  window_ = nullptr;
  list_ = nullptr;
  app_.page_list_open = false;
  app_.accelerators.name_edit_active = false;
  set_list_button(app_.controls, ListWindowKind::PageList, false);
}

LRESULT PageListWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    close();
    return DefWindowProcW(window, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    // Destroyed with its owner: the close sequence already kept the
    // geometry.
    if (window == window_) {
      window_ = nullptr;
      list_ = nullptr;
      app_.accelerators.name_edit_active = false;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  if (message == WM_NOTIFY && list_ != nullptr &&
      reinterpret_cast<const NMHDR*>(lparam)->hwndFrom == list_) {
    return list_notification(*reinterpret_cast<const NMHDR*>(lparam), lparam);
  }
  if (message == WM_SETFOCUS) {
    // The frame only holds the list: the keys belong to the rows.
    if (list_ != nullptr) {
      SetFocus(list_);
    }
    return 0;
  }
  if (app_.dialog_guard != -1) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_SIZE:
      if (list_ != nullptr) {
        MoveWindow(list_, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 && lparam == 0 && !program_busy()) {
        BusyScope busy;
        run_menu_command(LOWORD(wparam));
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace piconel
