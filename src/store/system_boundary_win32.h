#pragma once

// The edge between the system's code and ours. Every function the system
// calls back (window, dialog and hook procedures, enumeration and browser
// callbacks) runs its body through one of these, so no exception (an
// allocation failure in a std::string, say) can unwind into user32 or a
// plug-in's frames, which is undefined behaviour. A stopped exception gives
// the callback's neutral answer. Windows only: include from *_win32.cpp
// files only. Header only, so every layer's callbacks can use it.

#include <windows.h>

#include <utility>

namespace piconel {

namespace boundary_detail {
inline int& stopped_count() noexcept {
  static int count = 0;
  return count;
}
}  // namespace boundary_detail

// How many exceptions the boundary has stopped in this process (there is no
// log; tests read it).
[[nodiscard]] inline int stopped_exception_count() noexcept {
  return boundary_detail::stopped_count();
}

// `body()`, or `fallback` when `body` throws.
template <typename Result, typename Body>
[[nodiscard]] Result call_at_boundary(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ++boundary_detail::stopped_count();
    return fallback;
  }
}

// A window procedure's body; a stopped exception leaves the message to
// DefWindowProcW, as if the window did not handle it.
template <typename Body>
[[nodiscard]] LRESULT window_procedure_boundary(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ++boundary_detail::stopped_count();
    return DefWindowProcW(window, message, wparam, lparam);
  }
}

// A hook procedure's body; a stopped exception passes the event on.
template <typename Body>
[[nodiscard]] LRESULT hook_procedure_boundary(int code, WPARAM wparam, LPARAM lparam,
                                              Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ++boundary_detail::stopped_count();
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
}

// The window procedure of a class whose windows each serve one `Target`:
// the object comes as CreateWindowExW's last argument, is kept in
// GWLP_USERDATA from WM_NCCREATE, and `Handle` receives every message up to
// and including WM_NCDESTROY. Messages before WM_NCCREATE (WM_GETMINMAXINFO
// comes first) and after WM_NCDESTROY go to DefWindowProcW.
template <typename Target, LRESULT (*Handle)(Target&, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK bound_window_procedure(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  return window_procedure_boundary(window, message, wparam, lparam, [&]() -> LRESULT {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<Target*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (target == nullptr) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return Handle(*target, window, message, wparam, lparam);
  });
}

// The dialog procedure of a dialog that serves one `Target`: the object
// comes as the dialog call's init parameter, is kept in DWLP_USER from
// WM_INITDIALOG, and `Handle` receives every message from then on; messages
// before it answer FALSE (not handled), as does a stopped exception.
template <typename Target, INT_PTR (*Handle)(Target&, HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK bound_dialog_procedure(HWND dialog, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  return call_at_boundary(INT_PTR{FALSE}, [&]() -> INT_PTR {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    }
    auto* target = reinterpret_cast<Target*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (target == nullptr) {
      return FALSE;
    }
    return Handle(*target, dialog, message, wparam, lparam);
  });
}

}  // namespace piconel
