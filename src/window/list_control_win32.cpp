#include "window/list_control_win32.h"

#include <string>

#include "store/wide_text.h"

namespace piconel {

HWND create_list_control(HWND parent, DWORD style, std::span<const ListColumn> columns) {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&init);
  RECT client{};
  GetClientRect(parent, &client);
  const HWND list = CreateWindowExW(
      0, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | style, 0, 0,
      client.right, client.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (list == nullptr) {
    return nullptr;
  }
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  int index = 0;
  for (const ListColumn& column : columns) {
    std::wstring header = to_wide(column.header);
    LVCOLUMNW item{};
    item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    item.fmt = LVCFMT_LEFT;
    item.cx = column.width;
    item.pszText = header.data();
    item.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    ++index;
  }
  return list;
}

void pass_focus_to_list(HWND frame, HWND list) {
  if (list != nullptr && GetFocus() == frame) {
    SetFocus(list);
  }
}

int insert_list_row(HWND list, int index, std::string_view text, UINT state) {
  const int count = list_row_count(list);
  std::wstring wide = to_wide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = index < 0 || index > count ? count : index;
  item.pszText = wide.data();
  item.state = state;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void set_list_text(HWND list, int row, int column, std::string_view text) {
  std::wstring wide = to_wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int list_row_count(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

UINT list_row_state(HWND list, int row, UINT mask) {
  return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
}

void set_list_row_state(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void read_column_widths(HWND list, std::span<std::int32_t> widths) {
  for (std::size_t column = 0; column < widths.size(); ++column) {
    widths[column] = static_cast<std::int32_t>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
  }
}

}  // namespace piconel
