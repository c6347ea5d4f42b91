#pragma once

// A WM_COMMAND as the main window's commands receive it. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

struct CommandMessage {
  // The command or control id (LOWORD of wParam).
  unsigned id = 0;
  // HIWORD of wParam: 0 from a menu, 1 from an accelerator, otherwise the
  // control's notification code (CBN_SELCHANGE from the zoom box, say).
  unsigned code = 0;
  // The control that sent it (lParam); null for menus and accelerators.
  HWND control = nullptr;
};

[[nodiscard]] inline CommandMessage command_message(WPARAM wparam, LPARAM lparam) {
  return CommandMessage{LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)};
}

}  // namespace piconel
