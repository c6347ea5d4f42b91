#include "image/placement.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace piconel {

namespace {

std::int32_t clamp_to_int32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t visible_right_edge(std::int32_t window_width, std::int32_t scroll_bar_width,
                                std::int32_t zoom_sixteenths, std::int32_t scroll_x) {
  const std::int64_t zoom = zoom_sixteenths > 0 ? zoom_sixteenths : 16;
  const std::int64_t visible =
      (std::int64_t{window_width} - scroll_bar_width) * 16 / zoom + std::int64_t{scroll_x};
  return clamp_to_int32(visible);
}

std::int64_t row_limit(const PlacementView& view) {
  if (view.fixed_sheet_width > 0) {
    return view.fixed_sheet_width;
  }
  return std::max(view.visible_right_edge, view.extent_width);
}

SheetPoint place_automatically(std::span<const PlacedRect> entries, std::int32_t width,
                               SheetPoint start, std::int64_t limit) {
  std::int64_t x = start.x;
  std::int64_t y = start.y;
  const auto new_row = [&] {
    x = 0;
    for (const PlacedRect& entry : entries) {
      y = std::max(y, std::int64_t{entry.y} + entry.height);
    }
  };
  if (x != 0 && x + width > limit) {
    new_row();
  }
  for (;;) {
    const PlacedRect* holder = nullptr;
    for (const PlacedRect& entry : entries) {
      if (entry.x <= x && x < std::int64_t{entry.x} + entry.width && entry.y <= y &&
          y < std::int64_t{entry.y} + entry.height) {
        holder = &entry;
        break;
      }
    }
    if (holder == nullptr) {
      break;
    }
    x = std::int64_t{holder->x} + holder->width;
    if (x + width > limit) {
      new_row();
    }
  }
  return {clamp_to_int32(x), clamp_to_int32(y)};
}

SheetPoint place_automatically(const ImageEntryList& entries, std::int32_t width, SheetPoint start,
                               const PlacementView& view) {
  std::vector<PlacedRect> rects;
  rects.reserve(entries.size());
  for (const ImageEntry& entry : entries) {
    rects.push_back({entry.x, entry.y, entry.width, entry.height});
  }
  return place_automatically(rects, width, start, row_limit(view));
}

}  // namespace piconel
