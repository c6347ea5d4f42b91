#include "window/busy_scope_win32.h"

namespace piconel {
namespace {

int g_busy_depth = 0;
HWND g_deferred_close = nullptr;

}  // namespace

BusyScope::BusyScope() noexcept {
  ++g_busy_depth;
}

BusyScope::~BusyScope() {
  --g_busy_depth;
  if (g_busy_depth == 0 && g_deferred_close != nullptr) {
    // Posted, not run: the command that just ended unwinds first.
    const HWND window = g_deferred_close;
    g_deferred_close = nullptr;
    if (IsWindow(window)) {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
}

bool program_busy() noexcept {
  return g_busy_depth > 0;
}

void defer_close_request(HWND window) noexcept {
  g_deferred_close = window;
}

void forget_close_request() noexcept {
  g_deferred_close = nullptr;
}

bool close_request_deferred() noexcept {
  return g_deferred_close != nullptr;
}

}  // namespace piconel
