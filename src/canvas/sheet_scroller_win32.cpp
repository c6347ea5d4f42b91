#include "canvas/sheet_scroller_win32.h"

#include <algorithm>

#include "canvas/snapping.h"
#include "window/window_dpi_win32.h"

namespace piconel {

void SheetScroller::set_dpi(int dpi) {
  vertical_bar_width_ = system_metric_for_dpi(SM_CXVSCROLL, dpi);
  horizontal_bar_height_ = system_metric_for_dpi(SM_CYHSCROLL, dpi);
}

// From the scroll bar itself: the message's 16-bit word wraps past view
// pixel 65535 (a wide sheet at "x 4" or "x 8").
std::int32_t SheetScroller::thumb_position(UINT message) const {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  if (!GetScrollInfo(view_, message == WM_VSCROLL ? SB_VERT : SB_HORZ, &info)) {
    return 0;
  }
  return info.nTrackPos;
}

std::int32_t SheetScroller::visible_width() const {
  RECT rect{};
  GetWindowRect(view_, &rect);
  return visible_sheet_size(rect.right - rect.left, vertical_bar_width_, state_.zoom);
}

std::int32_t SheetScroller::visible_height() const {
  RECT rect{};
  GetWindowRect(view_, &rect);
  return visible_sheet_size(rect.bottom - rect.top, horizontal_bar_height_, state_.zoom);
}

void SheetScroller::apply_scroll(bool vertical, std::int32_t step) {
  if (step == 0) {
    return;
  }
  std::int32_t& position = vertical ? state_.scroll_y : state_.scroll_x;
  position += step;
  const int shift = sheet_length_to_view(-step, state_.zoom);
  // Below 100 % the truncated shift is not where each sheet position shows
  // now: the whole view is painted again.
  if (view_shift_is_exact(step, state_.zoom)) {
    // What is still to be painted goes first: the shift moves pixels, not
    // the parts waiting for a repaint.
    UpdateWindow(view_);
    ScrollWindowEx(view_, vertical ? 0 : shift, vertical ? shift : 0, nullptr, nullptr, nullptr,
                   nullptr, SW_INVALIDATE);
  } else {
    InvalidateRect(view_, nullptr, FALSE);
  }
}

void SheetScroller::refresh_scroll_bars() {
  if (view_ == nullptr) {
    return;
  }
  for (const bool vertical : {false, true}) {
    const std::int32_t visible = vertical ? visible_height() : visible_width();
    const std::int32_t extent = vertical ? state_.extent_height : state_.extent_width;
    const std::int32_t scroll = vertical ? state_.scroll_y : state_.scroll_x;
    if (std::int64_t{scroll} + visible > extent) {
      apply_scroll(vertical, limit_scroll(extent - visible, visible, extent) - scroll);
    }
    const ScrollBarState bar = scroll_bar_state(
        extent, visible, vertical ? state_.scroll_y : state_.scroll_x, state_.zoom);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    // Disabled rather than hidden when the whole extent is visible.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, bar.maximum);
    info.nPage = static_cast<UINT>(std::max(0, bar.page));
    info.nPos = bar.position;
    SetScrollInfo(view_, vertical ? SB_VERT : SB_HORZ, &info, TRUE);
  }
}

void SheetScroller::scroll(bool vertical, ScrollRequest request, std::int32_t thumb) {
  const std::int32_t visible = vertical ? visible_height() : visible_width();
  const std::int32_t extent = vertical ? state_.extent_height : state_.extent_width;
  const std::int32_t current = vertical ? state_.scroll_y : state_.scroll_x;
  apply_scroll(vertical, scroll_step(request, current, visible, extent, thumb, state_.zoom));
}

void SheetScroller::scroll_wheel(std::int32_t wheel_delta) {
  apply_scroll(true,
               wheel_step(wheel_delta, state_.scroll_y, visible_height(), state_.extent_height));
}

}  // namespace piconel
