#pragma once

// The sheet view's selection rectangle: the left button pressed on empty
// sheet enters it, the mouse moving selects the entries whose centre it
// holds, the button going up leaves it (a click deselects everything).
// Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <cstdint>

#include "canvas/sheet_geometry.h"
#include "canvas/sheet_selection_win32.h"
#include "canvas/sheet_view_state.h"
#include "image/image_entry.h"

namespace piconel {

class RubberBandMode {
 public:
  // `view` is the view's window member; all of them belong to the view and
  // outlive the mode.
  RubberBandMode(const HWND& view, const SheetViewState& state, SheetSelection& selection)
      : view_(view), state_(state), selection_(selection) {}

  // Points are client coordinates of the view. Mouse and leave do nothing
  // outside the mode.
  void enter(std::int32_t x, std::int32_t y);
  void mouse(std::int32_t x, std::int32_t y);
  void leave(std::int32_t x, std::int32_t y);
  // The capture went to `to` (WM_CAPTURECHANGED): the mode ends with the
  // selection as it is.
  void capture_changed(HWND to);
  // Out of the mode without a word (a new page).
  void reset() { rubber_ = Rubber{}; }

  // Draws the rectangle while in the mode and remembers it as drawn.
  void paint(HDC dc);

 private:
  struct Rubber {
    bool active = false;
    std::int32_t start_x = 0;
    std::int32_t start_y = 0;
    ViewRect current;
    ViewRect last_drawn;
  };

  const HWND& view_;
  const SheetViewState& state_;
  SheetSelection& selection_;
  Rubber rubber_;
};

}  // namespace piconel
