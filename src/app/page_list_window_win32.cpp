#include "app/page_list_window_win32.h"

#include <array>
#include <string>

#include "app/list_view_win32.h"
#include "app/page_list_selection.h"
#include "project/page_operations.h"
#include "store/wide_text.h"
#include "window/busy_scope_win32.h"

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
constexpr std::array<std::string_view, kColumns> kHeaders = {kNameHeader, kWidthHeader,
                                                             kHeightHeader, kLabelHeader};
constexpr ListWindowLook kLook{kPageListClass, kTitle, LVS_SINGLESEL | LVS_EDITLABELS, kHeaders};
constexpr UINT kRowStates = LVIS_SELECTED | LVIS_FOCUSED;

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

PageListWindow::PageListWindow(App& app) : ListWindowBase(app, ListWindowKind::PageList, kLook) {}

void PageListWindow::fill_rows() {
  fill_page_list(app_.project);
}

void PageListWindow::forget() {
  app_.accelerators.name_edit_active = false;
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
  if (header.code == LVN_DELETEALLITEMS) {
    return TRUE;  // no LVN_DELETEITEM for each row: nothing is kept per row
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

LRESULT PageListWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NOTIFY && list_ != nullptr &&
      reinterpret_cast<const NMHDR*>(lparam)->hwndFrom == list_) {
    return list_notification(*reinterpret_cast<const NMHDR*>(lparam), lparam);
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
