#pragma once

// Around every modal box and dialog of ours. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <array>
#include <cstddef>

#include "window/busy_scope_win32.h"

namespace piconel {

// While it lives the program is busy (a close request waits) and every
// other visible, enabled top-level window of this thread (the list windows
// beside the main window) is disabled, so nothing can change the project
// under the command that waits. `owner` is left alone: the box or dialog
// disables and re-enables it itself, and re-enabling it before the box is
// gone would send the activation elsewhere. The scope enables again exactly
// the windows it disabled.
class ModalScope {
 public:
  explicit ModalScope(HWND owner) noexcept;
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK disable_window(HWND window, LPARAM scope) noexcept;

  BusyScope busy_;
  HWND owner_;
  // The program has a handful of top-level windows; a fixed store cannot
  // fail to allocate.
  std::array<HWND, 32> disabled_{};
  std::size_t disabled_count_ = 0;
};

}  // namespace piconel
