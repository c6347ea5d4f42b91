#include "window/modal_scope_win32.h"

namespace piconel {

ModalScope::ModalScope(HWND owner) noexcept : owner_(owner) {
  EnumThreadWindows(GetCurrentThreadId(), disable_window, reinterpret_cast<LPARAM>(this));
}

ModalScope::~ModalScope() {
  for (std::size_t i = disabled_count_; i > 0; --i) {
    const HWND window = disabled_[i - 1];
    if (IsWindow(window)) {
      EnableWindow(window, TRUE);
    }
  }
}

BOOL CALLBACK ModalScope::disable_window(HWND window, LPARAM scope) noexcept {
  auto* self = reinterpret_cast<ModalScope*>(scope);
  if (self->disabled_count_ == self->disabled_.size()) {
    return FALSE;
  }
  if (window != self->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    self->disabled_[self->disabled_count_++] = window;
  }
  return TRUE;
}

}  // namespace piconel
