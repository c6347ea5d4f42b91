#include "app/list_window_placement.h"

#include <algorithm>
#include <cstdint>

namespace piconel {

namespace {

// Hand-edited settings can hold any 32-bit numbers: edges are summed in 64
// bits so nothing overflows.
struct Box64 {
  std::int64_t left;
  std::int64_t top;
  std::int64_t width;
  std::int64_t height;
};

Box64 widen(const ListWindowBox& box) {
  return {box.left, box.top, box.width, box.height};
}

bool meets(const Box64& box, const ScreenRect& area) {
  return box.width > 0 && box.height > 0 && box.left < area.right &&
         area.left < box.left + box.width && box.top < area.bottom &&
         area.top < box.top + box.height;
}

// One axis: the side cut to the area's length, then the start pulled back so
// the end lies inside, then pushed so the start lies inside.
void fit_axis(std::int64_t& start, std::int64_t& length, std::int64_t area_start,
              std::int64_t area_end) {
  length = std::min(length, area_end - area_start);
  if (start + length > area_end) {
    start = area_end - length;
  }
  start = std::max(start, area_start);
}

ListWindowBox moved_into(Box64 box, const ScreenRect& area) {
  fit_axis(box.left, box.width, area.left, area.right);
  fit_axis(box.top, box.height, area.top, area.bottom);
  // Every value now lies within the area's 32-bit edges or is the stored
  // (smaller) size.
  return ListWindowBox{static_cast<std::int32_t>(box.left), static_cast<std::int32_t>(box.top),
                       static_cast<std::int32_t>(box.width), static_cast<std::int32_t>(box.height)};
}

}  // namespace

ListWindowBox list_window_opening_box(const ListWindowBox& box, bool placed,
                                      std::span<const ScreenRect> work_areas,
                                      const ScreenRect& main_window,
                                      const ScreenRect& main_work_area, int top_offset) {
  Box64 wide = widen(box);
  if (placed) {
    for (const ScreenRect& area : work_areas) {
      if (meets(wide, area)) {
        return box;
      }
    }
  } else {
    wide.left = main_window.right;
    wide.top = static_cast<std::int64_t>(main_window.top) + top_offset;
  }
  return moved_into(wide, main_work_area);
}

}  // namespace piconel
