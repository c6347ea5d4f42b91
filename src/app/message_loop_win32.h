#pragma once

// The program's message loop. Windows only: include from *_win32.cpp files
// only.

#include <windows.h>

namespace piconel {

// Where the accelerator keys go: the keys of the table are translated for
// the messages of every window of the thread (so they work while a list
// window has the focus) and their commands always go to `target`, the main
// window.
struct AcceleratorRoute {
  HWND target = nullptr;
  HACCEL table = nullptr;
  // Set by the page list while a page name is edited in place: no key is
  // translated then, so Delete, F2 and Ctrl+A reach the edit field.
  bool name_edit_active = false;
};

// True when `message` was an accelerator key and its command was sent to
// the target; the message must then not be dispatched.
[[nodiscard]] bool translate_accelerator(const AcceleratorRoute& route, MSG& message);

// One message as the loop handles it: an accelerator, or TranslateMessage
// and DispatchMessageW.
void handle_loop_message(const AcceleratorRoute& route, MSG& message);

// Waits for and handles messages until WM_QUIT; returns its exit code (0
// when GetMessageW fails). `route` is read for every message, so changes
// made while the loop runs (the name-edit flag) take effect at once.
int run_message_loop(const AcceleratorRoute& route);

}  // namespace piconel
