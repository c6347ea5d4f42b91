#include "canvas/sheet_geometry.h"

#include <algorithm>
#include <limits>

#include "canvas/snapping.h"

namespace piconel {

namespace {

std::int32_t clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A zoom of 0 or less would divide by zero; it counts as 100 %.
std::int64_t safe_zoom(std::int32_t zoom) {
  return zoom > 0 ? zoom : kZoomUnit;
}

}  // namespace

std::optional<int> zoom_in_step(int index) {
  if (index <= 0 || index >= static_cast<int>(kZoomSteps.size())) {
    return std::nullopt;
  }
  return index - 1;
}

std::optional<int> zoom_out_step(int index) {
  if (index < 0 || index >= static_cast<int>(kZoomSteps.size()) - 1) {
    return std::nullopt;
  }
  return index + 1;
}

std::int32_t sheet_to_view(std::int32_t sheet, std::int32_t scroll, std::int32_t zoom) {
  return clamp32((std::int64_t{sheet} - scroll) * zoom / kZoomUnit);
}

std::int32_t sheet_length_to_view(std::int32_t length, std::int32_t zoom) {
  return clamp32(std::int64_t{length} * zoom / kZoomUnit);
}

std::int32_t view_length_to_sheet(std::int32_t length, std::int32_t zoom) {
  if (zoom <= 0) {
    return 0;
  }
  return clamp32(std::int64_t{length} * kZoomUnit / zoom);
}

ViewRect entry_view_rect(const SheetRect& entry, std::int32_t scroll_x, std::int32_t scroll_y,
                         std::int32_t zoom) {
  const std::int32_t left = sheet_to_view(entry.x, scroll_x, zoom);
  const std::int32_t top = sheet_to_view(entry.y, scroll_y, zoom);
  return {left, top, clamp32(std::int64_t{left} + sheet_length_to_view(entry.width, zoom)),
          clamp32(std::int64_t{top} + sheet_length_to_view(entry.height, zoom))};
}

bool view_shift_is_exact(std::int32_t step, std::int32_t zoom) {
  return (std::int64_t{step} * zoom) % kZoomUnit == 0;
}

std::int32_t clamp_sheet_position(std::int32_t position, std::int32_t size) {
  const std::int64_t highest = std::int64_t{kSheetLimit} - size;
  std::int64_t kept = position;
  if (kept > highest) {
    kept = highest;
  }
  if (kept < 0) {
    kept = 0;
  }
  return clamp32(kept);
}

std::int32_t visible_sheet_size(std::int32_t window_size, std::int32_t other_bar,
                                std::int32_t zoom) {
  return clamp32((std::int64_t{window_size} - other_bar) * kZoomUnit / safe_zoom(zoom));
}

std::int32_t scroll_request_target(ScrollRequest request, std::int32_t current,
                                   std::int32_t visible, std::int32_t extent, std::int32_t thumb,
                                   std::int32_t zoom) {
  switch (request) {
    case ScrollRequest::LineUp:
      return clamp32(std::int64_t{current} - kScrollLine);
    case ScrollRequest::LineDown:
      return clamp32(std::int64_t{current} + kScrollLine);
    case ScrollRequest::PageUp:
      return clamp32(std::int64_t{current} - visible);
    case ScrollRequest::PageDown:
      return clamp32(std::int64_t{current} + visible);
    case ScrollRequest::ThumbPosition:
      return clamp32(std::int64_t{thumb} * kZoomUnit / safe_zoom(zoom));
    case ScrollRequest::Top:
      return 0;
    case ScrollRequest::Bottom:
      return clamp32(std::int64_t{extent} - visible);
  }
  return current;
}

std::int32_t limit_scroll(std::int32_t position, std::int32_t visible, std::int32_t extent) {
  const std::int64_t highest = std::max<std::int64_t>(0, std::int64_t{extent} - visible);
  return clamp32(std::clamp<std::int64_t>(position, 0, highest));
}

std::int32_t scroll_step(ScrollRequest request, std::int32_t current, std::int32_t visible,
                         std::int32_t extent, std::int32_t thumb, std::int32_t zoom) {
  const std::int32_t target = limit_scroll(
      scroll_request_target(request, current, visible, extent, thumb, zoom), visible, extent);
  return clamp32(std::int64_t{target} - current);
}

std::int32_t wheel_step(std::int32_t wheel_delta, std::int32_t current, std::int32_t visible,
                        std::int32_t extent) {
  const std::int64_t target = std::int64_t{current} - std::int64_t{wheel_delta} / kWheelDivisor;
  return clamp32(std::int64_t{limit_scroll(clamp32(target), visible, extent)} - current);
}

ScrollBarState scroll_bar_state(std::int32_t extent, std::int32_t visible, std::int32_t scroll,
                                std::int32_t zoom) {
  ScrollBarState state;
  state.maximum = clamp32(std::int64_t{extent} * zoom / kZoomUnit - 1);
  state.page = sheet_length_to_view(visible, zoom);
  state.position = sheet_length_to_view(scroll, zoom);
  return state;
}

ViewRect span_rect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

bool centre_in_rect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t scroll_x, std::int32_t scroll_y, std::int32_t zoom,
                    const ViewRect& rect) {
  const std::int64_t centre_x = (std::int64_t{x} + width / 2 - scroll_x) * zoom / kZoomUnit;
  const std::int64_t centre_y = (std::int64_t{y} + height / 2 - scroll_y) * zoom / kZoomUnit;
  return rect.left <= centre_x && centre_x <= rect.right && rect.top <= centre_y &&
         centre_y <= rect.bottom;
}

SheetEdges sheet_edges(std::int32_t sheet_width, std::int32_t sheet_height, std::int32_t scroll_x,
                       std::int32_t scroll_y, std::int32_t zoom) {
  const std::int32_t width = sheet_width > 0 ? sheet_width : kSheetLimit;
  const std::int32_t height = sheet_height > 0 ? sheet_height : kSheetLimit;
  return {sheet_to_view(width, scroll_x, zoom), sheet_to_view(height, scroll_y, zoom)};
}

SheetPaintPlan plan_sheet_paint(const ViewRect& update, const SheetEdges& edges) {
  SheetPaintPlan plan;
  if (update.left > edges.right || update.top > edges.bottom) {
    plan.right_of_sheet = update;
    return plan;
  }
  const std::int32_t right = std::min(update.right, edges.right);
  const std::int32_t bottom = std::min(update.bottom, edges.bottom);
  plan.sheet = {update.left, update.top, right, bottom};
  plan.right_of_sheet = {right, update.top, update.right, update.bottom};
  plan.below_sheet = {update.left, bottom, right, update.bottom};
  return plan;
}

namespace {

// The picture's pixels [first, last) under view pixels [from, to) of an
// entry starting at view pixel `origin`, each picture pixel `scale` view
// pixels wide.
struct BlitSpan {
  std::int64_t first = 0;
  std::int64_t last = 0;
};
BlitSpan blit_span(std::int64_t origin, std::int64_t from, std::int64_t to, std::int64_t length,
                   std::int64_t scale) {
  const auto floor_div = [](std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
  };
  BlitSpan span;
  span.first = std::clamp<std::int64_t>(floor_div(from - origin, scale), 0, length);
  span.last = std::clamp<std::int64_t>(-floor_div(origin - to, scale), span.first, length);
  return span;
}

}  // namespace

EntryBlit entry_blit(const ViewRect& entry, const ViewRect& update, std::int32_t width,
                     std::int32_t height, std::int32_t zoom) {
  EntryBlit blit;
  if (entry.right <= update.left || update.right <= entry.left || entry.bottom <= update.top ||
      update.bottom <= entry.top || width <= 0 || height <= 0) {
    return blit;
  }
  if (zoom < kZoomUnit || zoom % kZoomUnit != 0) {
    blit.destination = {entry.left, entry.top, entry.right - entry.left, entry.bottom - entry.top};
    blit.source = {0, 0, width, height};
    return blit;
  }
  const std::int64_t scale = zoom / kZoomUnit;
  const BlitSpan across = blit_span(entry.left, update.left, update.right, width, scale);
  const BlitSpan down = blit_span(entry.top, update.top, update.bottom, height, scale);
  blit.source = {clamp32(across.first), clamp32(down.first), clamp32(across.last - across.first),
                 clamp32(down.last - down.first)};
  blit.destination = {
      clamp32(entry.left + across.first * scale), clamp32(entry.top + down.first * scale),
      clamp32((across.last - across.first) * scale), clamp32((down.last - down.first) * scale)};
  return blit;
}

}  // namespace piconel
