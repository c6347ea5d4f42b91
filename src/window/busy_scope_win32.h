#pragma once

// Whether a command or a modal loop of ours is running. A close request that
// arrives meanwhile (a shutdown or taskkill posts one while an error box
// waits) must not release the project under that command: it is deferred and
// posted again once the last scope has ended. Windows only: include from
// *_win32.cpp files only. One thread, so one process-wide count.

#include <windows.h>

namespace piconel {

// Marks the program busy for its lifetime; scopes nest. When the outermost
// one ends and a close request was deferred, WM_CLOSE is posted to the
// window that asked (if it still exists).
class BusyScope {
 public:
  BusyScope() noexcept;
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

[[nodiscard]] bool program_busy() noexcept;

// Notes a close request of `window` that arrived while busy.
void defer_close_request(HWND window) noexcept;
// Drops a deferred request: the close sequence that runs now answers it.
void forget_close_request() noexcept;
[[nodiscard]] bool close_request_deferred() noexcept;

}  // namespace piconel
