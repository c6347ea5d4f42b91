#include "dialogs/window_controls_win32.h"

#include "store/wide_text.h"

namespace piconel {

bool WindowControls::is_checked(int id) const {
  return IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void WindowControls::set_checked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void WindowControls::set_enabled(int id, bool enabled) {
  EnableWindow(item(id), enabled ? TRUE : FALSE);
}

std::wstring WindowControls::wide_text(int id) const {
  const HWND control = item(id);
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::string WindowControls::text(int id) const {
  return to_cp932(wide_text(id));
}

std::optional<std::string> WindowControls::exact_text(int id) const {
  return to_cp932_strict(wide_text(id));
}

void WindowControls::set_text(int id, std::string_view text) {
  SetDlgItemTextW(dialog_, id, to_wide(text).c_str());
}

void WindowControls::redraw(int id) {
  InvalidateRect(item(id), nullptr, TRUE);
}

}  // namespace piconel
