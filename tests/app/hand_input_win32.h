#pragma once

// A hand on the mouse and the keyboard for the Win32 scenarios: gestures
// recorded as hardware input (SendInput) and played one at a time by a
// timer of the test's thread while its message loop runs, or whichever
// modal loop is running then (the system's move loop, a menu, a message
// box). The window sees what a user's hand gives it: the input queue's
// order, the system's own loops taking the moves and the release, and the
// messages the system makes of them. A timer fires only when no input is
// waiting, so each input comes after the last one was taken, as from a hand
// that is slower than the program: Wine gives a mouse message the key
// states of the moment it is taken, not of the moment it was made.
// Windows only.

#include <windows.h>

#include <cstddef>
#include <vector>

#include "app/test_window_win32.h"

namespace piconel::testing {

class Hand {
 public:
  Hand& move_to(POINT screen) {
    // Absolute coordinates are 0 .. 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Rounded up, so the system's way back (truncating or rounding) gives
    // the same pixel.
    input.mi.dx = (screen.x * 65536 + width - 1) / width;
    input.mi.dy = (screen.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs_.push_back(input);
    return *this;
  }
  Hand& press() { return button(MOUSEEVENTF_LEFTDOWN); }
  Hand& release() { return button(MOUSEEVENTF_LEFTUP); }
  Hand& key_down(WORD key) { return keyboard(key, 0); }
  Hand& key_up(WORD key) { return keyboard(key, KEYEVENTF_KEYUP); }
  // A wheel turn; `delta` 120 is one notch away from the user.
  Hand& wheel(int delta) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = static_cast<DWORD>(delta);
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    inputs_.push_back(input);
    return *this;
  }
  // A press and release where the cursor stands.
  Hand& click() { return press().release(); }

  // Plays the gestures, then runs the message loop until nothing is left.
  // False when the timer could not start or the gestures did not end.
  [[nodiscard]] bool play() {
    playing() = this;
    next_ = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, kPauseMs, step);
    if (timer == 0) {
      playing() = nullptr;
      return false;
    }
    for (int turns = 0; turns < 4000 && next_ < inputs_.size(); ++turns) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kPauseMs, QS_ALLINPUT);
      pump_messages();
    }
    KillTimer(nullptr, timer);
    pump_messages();
    playing() = nullptr;
    const bool done = next_ == inputs_.size();
    inputs_.clear();
    return done;
  }

 private:
  static constexpr UINT kPauseMs = 20;

  Hand& button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    inputs_.push_back(input);
    return *this;
  }
  Hand& keyboard(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs_.push_back(input);
    return *this;
  }

  static Hand*& playing() {
    static Hand* hand = nullptr;
    return hand;
  }
  static void CALLBACK step(HWND, UINT, UINT_PTR, DWORD) {
    Hand* hand = playing();
    if (hand != nullptr && hand->next_ < hand->inputs_.size()) {
      SendInput(1, &hand->inputs_[hand->next_++], sizeof(INPUT));
    }
  }

  std::size_t next_ = 0;
  std::vector<INPUT> inputs_;
};

}  // namespace piconel::testing
