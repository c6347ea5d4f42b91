#pragma once

// Answers the modal dialogs a test opens on its own thread (file dialogs,
// the folder browser, message boxes): a WH_CALLWNDPROCRET hook notes each
// top-level dialog at WM_INITDIALOG and hands it to the test's action once
// it is shown; the action then posts its answer, which the dialog's own
// modal loop handles. Windows only.

#include <windows.h>

#include <functional>
#include <string>

#include "store/handles_win32.h"

namespace piconel::testing {

inline std::wstring window_text_of(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

inline void press_button(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class DialogAnswerer {
 public:
  // `on_shown` runs once for every dialog shown while the answerer lives.
  explicit DialogAnswerer(std::function<void(HWND)> on_shown) : on_shown_(std::move(on_shown)) {
    current() = this;
    hook_.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, observe, nullptr, GetCurrentThreadId()));
    // Only a guard against a hung test: a dialog that is never answered is
    // cancelled after a while so the test fails instead of blocking.
    timer_ = SetTimer(nullptr, 0, 10000, watchdog);
  }
  ~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    hook_.reset();
    current() = nullptr;
  }
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  [[nodiscard]] bool hooked() const { return hook_.valid(); }
  [[nodiscard]] int dialogs_shown() const { return shown_; }
  [[nodiscard]] bool watchdog_fired() const { return watchdog_fired_; }

 private:
  static DialogAnswerer*& current() {
    static DialogAnswerer* instance = nullptr;
    return instance;
  }

  static LRESULT CALLBACK observe(int code, WPARAM wparam, LPARAM lparam) {
    DialogAnswerer* self = current();
    if (code == HC_ACTION && self != nullptr) {
      const auto* returned = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
      if (returned->message == WM_INITDIALOG &&
          (GetWindowLongPtrW(returned->hwnd, GWL_STYLE) & WS_CHILD) == 0) {
        self->dialog_ = returned->hwnd;
        self->answered_ = false;
      } else if (returned->message == WM_WINDOWPOSCHANGED && returned->hwnd == self->dialog_ &&
                 !self->answered_ &&
                 (reinterpret_cast<const WINDOWPOS*>(returned->lParam)->flags & SWP_SHOWWINDOW) !=
                     0) {
        self->answered_ = true;
        ++self->shown_;
        self->on_shown_(self->dialog_);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswerer* self = current();
    if (self != nullptr && self->dialog_ != nullptr && IsWindow(self->dialog_)) {
      self->watchdog_fired_ = true;
      press_button(self->dialog_, IDCANCEL);
    }
  }

  std::function<void(HWND)> on_shown_;
  WindowsHook hook_;
  UINT_PTR timer_ = 0;
  HWND dialog_ = nullptr;
  bool answered_ = false;
  int shown_ = 0;
  bool watchdog_fired_ = false;
};

}  // namespace piconel::testing
