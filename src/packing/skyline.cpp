#include "packing/skyline.h"

#include <algorithm>

namespace piconel {

void SkylineBin::reset(std::int32_t width, std::int32_t height) {
  width_ = width;
  height_ = height;
  segments_.clear();
  if (width > 0 && height > 0) {
    segments_.push_back(Segment{0, 0, width});
  }
}

bool SkylineBin::rest_at(std::size_t first, PackSize size, std::int32_t& y,
                         std::int64_t& waste) const {
  const std::int32_t left = segments_[first].x;
  if (std::int64_t{left} + size.width > width_) {
    return false;
  }
  const std::int32_t right = left + size.width;
  y = 0;
  for (std::size_t i = first; i < segments_.size() && segments_[i].x < right; ++i) {
    y = std::max(y, segments_[i].y);
  }
  if (std::int64_t{y} + size.height > height_) {
    return false;
  }
  waste = 0;
  for (std::size_t i = first; i < segments_.size() && segments_[i].x < right; ++i) {
    const std::int32_t covered =
        std::min(right, segments_[i].x + segments_[i].width) - segments_[i].x;
    waste += std::int64_t{covered} * (y - segments_[i].y);
  }
  return true;
}

bool SkylineBin::insert(PackSize size, SkylineRule rule, PackPoint& at) {
  bool found = false;
  std::size_t best_first = 0;
  std::int64_t best_primary = 0;
  std::int64_t best_secondary = 0;
  std::int32_t best_x = 0;
  std::int32_t best_y = 0;
  for (std::size_t i = 0; i < segments_.size(); ++i) {
    std::int32_t y = 0;
    std::int64_t waste = 0;
    if (!rest_at(i, size, y, waste)) {
      continue;
    }
    const std::int64_t top = std::int64_t{y} + size.height;
    const std::int64_t primary = rule == SkylineRule::BottomLeft ? top : waste;
    const std::int64_t secondary = rule == SkylineRule::BottomLeft ? 0 : top;
    // Segments run left to right, so the first of equals is the leftmost.
    if (!found || primary < best_primary ||
        (primary == best_primary && secondary < best_secondary)) {
      found = true;
      best_first = i;
      best_primary = primary;
      best_secondary = secondary;
      best_x = segments_[i].x;
      best_y = y;
    }
  }
  if (!found) {
    return false;
  }
  at = PackPoint{best_x, best_y};
  add_level(best_first, at, size);
  return true;
}

void SkylineBin::add_level(std::size_t first, PackPoint at, PackSize size) {
  const std::int32_t right = at.x + size.width;
  // Segments from `first` that the new level covers, wholly or in part.
  std::size_t end = first;
  while (end < segments_.size() && segments_[end].x < right) {
    ++end;
  }
  const Segment last = segments_[end - 1];
  const std::int32_t last_right = last.x + last.width;
  segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(first),
                  segments_.begin() + static_cast<std::ptrdiff_t>(end));
  std::size_t at_index = first;
  segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(at_index),
                   Segment{at.x, at.y + size.height, size.width});
  if (last_right > right) {
    segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(at_index + 1),
                     Segment{right, last.y, last_right - right});
  }
  // Join neighbours of the same height, so the outline stays short.
  if (at_index > 0 && segments_[at_index - 1].y == segments_[at_index].y) {
    segments_[at_index - 1].width += segments_[at_index].width;
    segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(at_index));
    --at_index;
  }
  if (at_index + 1 < segments_.size() && segments_[at_index + 1].y == segments_[at_index].y) {
    segments_[at_index].width += segments_[at_index + 1].width;
    segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(at_index + 1));
  }
}

}  // namespace piconel
