#pragma once

// The sheet view's scrolling: the scroll bars, scroll-bar requests and the
// wheel. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <cstdint>

#include "canvas/sheet_geometry.h"
#include "canvas/sheet_view_state.h"

namespace piconel {

class SheetScroller {
 public:
  // `view` is the view's window member (null while there is none); both
  // belong to the view and outlive the scroller.
  SheetScroller(const HWND& view, SheetViewState& state) : view_(view), state_(state) {}

  // The scroll bar sizes for a monitor of `dpi`.
  void set_dpi(int dpi);
  [[nodiscard]] std::int32_t vertical_bar_width() const { return vertical_bar_width_; }

  // Range, page and position of both bars for the extent, zoom and scroll
  // position; a position past the extent comes back first.
  void refresh_scroll_bars();
  // One axis by a scroll-bar request (thumb: the position of
  // SB_THUMBPOSITION) or the vertical axis by a wheel turn.
  void scroll(bool vertical, ScrollRequest request, std::int32_t thumb);
  void scroll_wheel(std::int32_t wheel_delta);
  // The thumb's position at the end of a thumb drag of WM_HSCROLL or
  // WM_VSCROLL.
  [[nodiscard]] std::int32_t thumb_position(UINT message) const;

 private:
  [[nodiscard]] std::int32_t visible_width() const;
  [[nodiscard]] std::int32_t visible_height() const;
  void apply_scroll(bool vertical, std::int32_t step);

  const HWND& view_;
  SheetViewState& state_;
  std::int32_t vertical_bar_width_ = 0;
  std::int32_t horizontal_bar_height_ = 0;
};

}  // namespace piconel
