#pragma once

// Locks redrawing of a window (WM_SETREDRAW) while a batch of changes is
// made, and repaints it, children included, when it goes. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

namespace piconel {

class RedrawLock {
 public:
  // Nothing is locked for a null window.
  explicit RedrawLock(HWND window);
  ~RedrawLock();
  RedrawLock(const RedrawLock&) = delete;
  RedrawLock& operator=(const RedrawLock&) = delete;

 private:
  HWND window_;
};

}  // namespace piconel
