#include "canvas/colour_picker_model.h"

#include <algorithm>
#include <limits>

#include "store/bounded_format.h"

namespace piconel {

namespace {

// "透過色:" in CP932.
constexpr char kColourLabel[] = "\x93\xa7\x89\xdf\x90\x46:";
// Room for the label and "(rr,gg,bb)" with its zero.
constexpr std::size_t kColourTextSize = 64;

std::int32_t clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t growth(std::int32_t initial, std::int32_t current) {
  return std::max(0, clamp32(std::int64_t{current} - initial));
}

}  // namespace

std::int32_t picker_extent(std::int32_t picture_side) {
  return clamp32(std::int64_t{std::max(0, picture_side)} * kPickerZoom);
}

std::optional<PicturePoint> pixel_under_click(std::int32_t client_x, std::int32_t client_y,
                                              std::int32_t scroll_x, std::int32_t scroll_y,
                                              std::int32_t width, std::int32_t height) {
  const std::int64_t area_x = std::int64_t{client_x} + scroll_x;
  const std::int64_t area_y = std::int64_t{client_y} + scroll_y;
  if (area_x < 0 || area_y < 0) {
    return std::nullopt;
  }
  const std::int64_t x = area_x / kPickerZoom;
  const std::int64_t y = area_y / kPickerZoom;
  if (x >= width || y >= height) {
    return std::nullopt;
  }
  return PicturePoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

EntryBlit picker_blit(std::int32_t scroll_x, std::int32_t scroll_y, std::int32_t width,
                      std::int32_t height) {
  const std::int32_t first_x = std::max(0, scroll_x) / kPickerZoom;
  const std::int32_t first_y = std::max(0, scroll_y) / kPickerZoom;
  EntryBlit blit;
  blit.source = {first_x, first_y, std::max(0, width - first_x), std::max(0, height - first_y)};
  blit.destination = {-(std::max(0, scroll_x) % kPickerZoom),
                      -(std::max(0, scroll_y) % kPickerZoom),
                      clamp32(std::int64_t{blit.source.width} * kPickerZoom),
                      clamp32(std::int64_t{blit.source.height} * kPickerZoom)};
  return blit;
}

PickerAxis picker_axis(std::int32_t extent, std::int32_t visible, std::int32_t origin) {
  PickerAxis axis;
  axis.origin = limit_scroll(origin, visible, extent);
  // The area scrolls in its own pixels: the sheet view's bar at 100 %.
  axis.bar = scroll_bar_state(extent, visible, axis.origin, kZoomUnit);
  return axis;
}

ControlBox anchored_box(const ControlBox& initial, Anchor anchor, std::int32_t initial_width,
                        std::int32_t initial_height, std::int32_t current_width,
                        std::int32_t current_height) {
  const std::int32_t grown_x = growth(initial_width, current_width);
  const std::int32_t grown_y = growth(initial_height, current_height);
  ControlBox box = initial;
  switch (anchor) {
    case Anchor::Grow:
      box.width = clamp32(std::int64_t{box.width} + grown_x);
      box.height = clamp32(std::int64_t{box.height} + grown_y);
      break;
    case Anchor::Bottom:
      box.top = clamp32(std::int64_t{box.top} + grown_y);
      break;
    case Anchor::BottomRight:
      box.left = clamp32(std::int64_t{box.left} + grown_x);
      box.top = clamp32(std::int64_t{box.top} + grown_y);
      break;
  }
  return box;
}

std::string picked_colour_text(DibColour colour) {
  if (colour < 0) {
    return kColourLabel;
  }
  std::string text;
  // "透過色:(%02x,%02x,%02x)"
  static_cast<void>(
      bounded_format_string(text, kColourTextSize, "\x93\xa7\x89\xdf\x90\x46:(%02x,%02x,%02x)",
                            (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
  return text;
}

}  // namespace piconel
