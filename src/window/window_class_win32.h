#pragma once

// Window classes of this program, each registered once per module. Windows
// only: include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

// What differs between the program's window classes; the cursor is always
// the arrow. A null instance is the program's own module.
struct WindowClass {
  const wchar_t* name = nullptr;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
  // Null for windows that paint every pixel themselves.
  HBRUSH background = nullptr;
  const wchar_t* menu = nullptr;
};

// Registers `window_class` unless its name is already registered in its
// module (windows are made again and again; the class stays). False when it
// cannot be registered.
[[nodiscard]] bool register_window_class(const WindowClass& window_class);

}  // namespace piconel
