#pragma once

// Real top-level windows for the Win32 tests (Windows only).

#include <windows.h>

#include "store/handles_win32.h"

namespace piconel::testing {

inline constexpr wchar_t kTestWindowClass[] = L"piconel_test_window";

// Registers the test window class once; its procedure is `procedure` for
// the first caller only, so tests that need their own procedure register
// their own class.
inline bool register_test_window_class(WNDPROC procedure = DefWindowProcW,
                                       const wchar_t* class_name = kTestWindowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), class_name, &existing)) {
    return true;
  }
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = class_name;
  return RegisterClassExW(&window_class) != 0;
}

// A shown overlapped window with the given screen rectangle.
inline OwnedWindow make_test_window(const RECT& rect,
                                    const wchar_t* class_name = kTestWindowClass) {
  if (!register_test_window_class(DefWindowProcW, class_name)) {
    return OwnedWindow();
  }
  OwnedWindow window(CreateWindowExW(0, class_name, L"piconel test", WS_OVERLAPPEDWINDOW, rect.left,
                                     rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (window) {
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
  }
  return window;
}

inline RECT work_area() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// Handles what is queued (a deferred close among it) and drops the WM_QUIT
// of a destroyed main window, so later tests' modal loops run.
inline void pump_messages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// Whether `window` shows a box of `colour` exactly at `rect` (client
// coordinates), once its waiting repaints are done: the pixels `inset` in
// from its top-left and bottom-right corners have the colour, the pixels
// just past its right and bottom edges do not (an inset of 1 steps over a
// selection outline).
inline bool shows_box(HWND window, const RECT& rect, COLORREF colour, int inset = 1) {
  UpdateWindow(window);
  const HDC dc = GetDC(window);
  const bool shown = GetPixel(dc, rect.left + inset, rect.top + inset) == colour &&
                     GetPixel(dc, rect.right - 1 - inset, rect.bottom - 1 - inset) == colour &&
                     GetPixel(dc, rect.right, rect.top + inset) != colour &&
                     GetPixel(dc, rect.left + inset, rect.bottom) != colour;
  ReleaseDC(window, dc);
  return shown;
}

}  // namespace piconel::testing
