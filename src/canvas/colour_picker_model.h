#pragma once

// What the transparent colour picker computes without a window: the picture
// shown four times enlarged in a scrollable area, the picture pixel under a
// click, the copy that paints a scrolled area, the scroll bars, the layout
// of a dialog that grows with fixed margins, and the text of the picked
// colour. Area coordinates are client pixels of the area; scroll origins are
// area pixels too (the picture's extent is 4 x its size).

#include <cstdint>
#include <optional>
#include <string>

#include "canvas/sheet_geometry.h"
#include "image/colour.h"

namespace piconel {

// Area pixels per picture pixel.
inline constexpr std::int32_t kPickerZoom = 4;

// 4 x a picture side: the area's extent along that axis.
[[nodiscard]] std::int32_t picker_extent(std::int32_t picture_side);

struct PicturePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const PicturePoint&, const PicturePoint&) = default;
};

// The picture pixel ((client_x + scroll_x) / 4, (client_y + scroll_y) / 4)
// under a click; none when that lies outside a picture of width x height
// (the area can be larger than the picture) or the point is negative.
[[nodiscard]] std::optional<PicturePoint> pixel_under_click(
    std::int32_t client_x, std::int32_t client_y, std::int32_t scroll_x, std::int32_t scroll_y,
    std::int32_t width, std::int32_t height);

// The StretchBlt that paints the area scrolled to (scroll_x, scroll_y):
// source from picture pixel (scroll / 4) to the picture's end, destination
// four times that, shifted left and up by scroll % 4 so that what is shown
// under a point is exactly what pixel_under_click picks there.
[[nodiscard]] EntryBlit picker_blit(std::int32_t scroll_x, std::int32_t scroll_y,
                                    std::int32_t width, std::int32_t height);

// One axis of the area after a resize or a scroll: the origin kept within
// 0 .. extent - visible (0 when the area is larger than the extent) and the
// scroll bar (range 0 .. extent - 1, page = visible, position = origin).
struct PickerAxis {
  std::int32_t origin = 0;
  ScrollBarState bar;
  friend bool operator==(const PickerAxis&, const PickerAxis&) = default;
};
[[nodiscard]] PickerAxis picker_axis(std::int32_t extent, std::int32_t visible,
                                     std::int32_t origin);

// A control's rectangle in the dialog's client pixels.
struct ControlBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ControlBox&, const ControlBox&) = default;
};

// How a control follows the dialog when it grows beyond its first size:
// the picture area grows with it, the colour text keeps its distance to the
// bottom edge, the buttons keep theirs to the bottom and right edges.
enum class Anchor {
  Grow,
  Bottom,
  BottomRight,
};

// `initial` moved or grown by how much the dialog's client area
// (current_width x current_height) exceeds its first size (the dialog
// cannot be made smaller than that; a smaller size counts as the first).
[[nodiscard]] ControlBox anchored_box(const ControlBox& initial, Anchor anchor,
                                      std::int32_t initial_width, std::int32_t initial_height,
                                      std::int32_t current_width, std::int32_t current_height);

// "透過色:(%02x,%02x,%02x)" with red, green and blue of a 0x00RRGGBB colour,
// or "透過色:" alone for none (-1) (CP932).
[[nodiscard]] std::string picked_colour_text(DibColour colour);

}  // namespace piconel
