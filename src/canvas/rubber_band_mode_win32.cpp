#include "canvas/rubber_band_mode_win32.h"

#include <algorithm>

#include "store/handles_win32.h"

namespace piconel {

void RubberBandMode::enter(std::int32_t x, std::int32_t y) {
  SetFocus(view_);
  rubber_.active = true;
  rubber_.start_x = x;
  rubber_.start_y = y;
  rubber_.current = {x, y, x, y};
  rubber_.last_drawn = rubber_.current;
  SetCapture(view_);
}

void RubberBandMode::mouse(std::int32_t x, std::int32_t y) {
  if (!rubber_.active) {
    return;
  }
  rubber_.current = span_rect(rubber_.start_x, rubber_.start_y, x, y);
  selection_.select_where([this](const ImageEntry& entry) {
    return centre_in_rect(entry.x, entry.y, entry.width, entry.height, state_.scroll_x,
                          state_.scroll_y, state_.zoom, rubber_.current);
  });
  // The union of the new and the last drawn rectangle, pen included.
  const ViewRect& a = rubber_.current;
  const ViewRect& b = rubber_.last_drawn;
  const RECT dirty{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right) + 1,
                   std::max(a.bottom, b.bottom) + 1};
  InvalidateRect(view_, &dirty, FALSE);
}

void RubberBandMode::leave(std::int32_t x, std::int32_t y) {
  if (!rubber_.active) {
    return;
  }
  rubber_.active = false;
  ReleaseCapture();
  if (x == rubber_.start_x && y == rubber_.start_y) {
    // A click on empty sheet.
    selection_.deselect_all_except(nullptr);
  }
  InvalidateRect(view_, nullptr, FALSE);
}

void RubberBandMode::capture_changed(HWND to) {
  if (rubber_.active && to != view_) {
    rubber_.active = false;
    InvalidateRect(view_, nullptr, FALSE);
  }
}

void RubberBandMode::paint(HDC dc) {
  if (!rubber_.active) {
    return;
  }
  GdiPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  SelectGuard pen_guard(dc, pen.get());
  SelectGuard brush_guard(dc, GetStockObject(HOLLOW_BRUSH));
  const ViewRect& r = rubber_.current;
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  rubber_.last_drawn = r;
}

}  // namespace piconel
