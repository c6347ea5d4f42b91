#include "window/centre_window.h"

#include <limits>

namespace piconel {
namespace {

int clamp_to_int(long long value) {
  if (value > std::numeric_limits<int>::max()) {
    return std::numeric_limits<int>::max();
  }
  if (value < std::numeric_limits<int>::min()) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(value);
}

}  // namespace

ScreenPoint centred_position(const ScreenRect& window, const ScreenRect& reference,
                             const ScreenRect& work_area) {
  // 64-bit intermediates: hostile or absurd rectangles (a width near INT_MAX)
  // must not overflow; the clamped result always lies between two int edges.
  const long long width = static_cast<long long>(window.right) - window.left;
  const long long height = static_cast<long long>(window.bottom) - window.top;
  const long long reference_width = static_cast<long long>(reference.right) - reference.left;
  const long long reference_height = static_cast<long long>(reference.bottom) - reference.top;

  long long left = reference.left + (reference_width - width) / 2;
  long long top = reference.top + (reference_height - height) / 2;
  if (left + width > work_area.right) {
    left = work_area.right - width;
  }
  if (top + height > work_area.bottom) {
    top = work_area.bottom - height;
  }
  if (left < work_area.left) {
    left = work_area.left;
  }
  if (top < work_area.top) {
    top = work_area.top;
  }
  return ScreenPoint{clamp_to_int(left), clamp_to_int(top)};
}

}  // namespace piconel
