#include "window/edit_byte_limit_win32.h"

#include <commctrl.h>

#include <string>

#include "store/system_boundary_win32.h"
#include "store/wide_text.h"

namespace piconel {
namespace {

constexpr UINT_PTR kSubclassId = 0x5043;  // one limit per edit field

std::wstring text_of(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

// The messages through which the user changes the text.
bool may_add_text(UINT message) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK limited_edit(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                              DWORD_PTR max_bytes) noexcept {
  return call_at_boundary(LRESULT{0}, [&]() -> LRESULT {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(edit, limited_edit, id);
      return DefSubclassProc(edit, message, wparam, lparam);
    }
    if (!may_add_text(message)) {
      return DefSubclassProc(edit, message, wparam, lparam);
    }
    const std::wstring before = text_of(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
    if (to_cp932(text_of(edit)).size() > max_bytes) {
      SetWindowTextW(edit, before.c_str());
      SendMessageW(edit, EM_SETSEL, start, end);
      MessageBeep(MB_OK);
    }
    return result;
  });
}

}  // namespace

bool limit_edit_bytes(HWND edit, std::size_t max_bytes) {
  return SetWindowSubclass(edit, limited_edit, kSubclassId, static_cast<DWORD_PTR>(max_bytes)) !=
         FALSE;
}

}  // namespace piconel
