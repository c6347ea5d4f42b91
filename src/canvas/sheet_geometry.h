#pragma once

// The arithmetic of the sheet view: zoom steps, sheet and view coordinates,
// scrolling with its limits, the scroll bars, the selection rectangle and the
// painted areas. Sheet coordinates are sheet pixels; view coordinates are
// client pixels of the view. Every division truncates toward zero.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace piconel {

// 16 sixteenths = 100 %.
inline constexpr std::int32_t kZoomUnit = 16;
// Entry positions stay within 0 .. kSheetLimit - size.
inline constexpr std::int32_t kSheetLimit = 32768;
// One scroll line in sheet pixels.
inline constexpr std::int32_t kScrollLine = 8;
// The wheel scrolls -delta / 15 sheet pixels (8 per notch of 120).
inline constexpr std::int32_t kWheelDivisor = 15;

struct ZoomStep {
  std::string_view text;
  std::int32_t sixteenths;
};

// The zoom box's items in order; it starts on "x 1".
inline constexpr std::array<ZoomStep, 6> kZoomSteps = {{
    {"x 8", 128},
    {"x 4", 64},
    {"x 2", 32},
    {"x 1", 16},
    {"1/2", 8},
    {"1/4", 4},
}};
inline constexpr int kStartZoomStep = 3;

// The step before `index` (zoom in) or after it (zoom out); none at the
// first (last) step or for an index outside the table.
[[nodiscard]] std::optional<int> zoom_in_step(int index);
[[nodiscard]] std::optional<int> zoom_out_step(int index);

// (sheet - scroll) * zoom / 16.
[[nodiscard]] std::int32_t sheet_to_view(std::int32_t sheet, std::int32_t scroll,
                                         std::int32_t zoom);
// length * zoom / 16 (sheet length to view length).
[[nodiscard]] std::int32_t sheet_length_to_view(std::int32_t length, std::int32_t zoom);
// length * 16 / zoom (view length to sheet length); 0 for a zoom of 0 or less.
[[nodiscard]] std::int32_t view_length_to_sheet(std::int32_t length, std::int32_t zoom);

// A position kept within 0 .. kSheetLimit - size.
[[nodiscard]] std::int32_t clamp_sheet_position(std::int32_t position, std::int32_t size);

// The visible size along one axis in sheet pixels:
// ((window size - the other scroll bar's size) * 16) / zoom.
[[nodiscard]] std::int32_t visible_sheet_size(std::int32_t window_size, std::int32_t other_bar,
                                              std::int32_t zoom);

enum class ScrollRequest {
  LineUp,
  LineDown,
  PageUp,
  PageDown,
  ThumbPosition,  // the end of a thumb drag; thumb tracking scrolls nothing
  Top,
  Bottom,
};

// Where a request takes the scroll position, before the limit: line -/+ 8,
// page -/+ visible, thumb position * 16 / zoom, top 0, bottom extent -
// visible.
[[nodiscard]] std::int32_t scroll_request_target(ScrollRequest request, std::int32_t current,
                                                 std::int32_t visible, std::int32_t extent,
                                                 std::int32_t thumb, std::int32_t zoom);

// The position kept within 0 .. extent - visible (0 when the extent is
// smaller than the visible size).
[[nodiscard]] std::int32_t limit_scroll(std::int32_t position, std::int32_t visible,
                                        std::int32_t extent);

// The step (new - current, within the limits) that a request or a wheel
// turn makes.
[[nodiscard]] std::int32_t scroll_step(ScrollRequest request, std::int32_t current,
                                       std::int32_t visible, std::int32_t extent,
                                       std::int32_t thumb, std::int32_t zoom);
[[nodiscard]] std::int32_t wheel_step(std::int32_t wheel_delta, std::int32_t current,
                                      std::int32_t visible, std::int32_t extent);

// One scroll bar: range 0 .. maximum, page and thumb position, in view
// pixels.
struct ScrollBarState {
  std::int32_t maximum = 0;   // extent * zoom / 16 - 1
  std::int32_t page = 0;      // visible * zoom / 16
  std::int32_t position = 0;  // scroll * zoom / 16
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};
[[nodiscard]] ScrollBarState scroll_bar_state(std::int32_t extent, std::int32_t visible,
                                              std::int32_t scroll, std::int32_t zoom);

// A rectangle in view (client) pixels; right and bottom are inclusive edges
// for the selection rectangle and exclusive for painting, as the caller says.
struct ViewRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

struct SheetRect;

// Where an entry shows in view pixels: the corner through
// sheet_to_view, the size through sheet_length_to_view. Below 100 % this is
// not the entry shifted by the scrolled view length (each position
// truncates on its own), so a scroll that is not exact repaints the view.
[[nodiscard]] ViewRect entry_view_rect(const SheetRect& entry, std::int32_t scroll_x,
                                       std::int32_t scroll_y, std::int32_t zoom);

// Whether scrolling `step` sheet pixels shifts every view position by the
// same whole number of view pixels (step * zoom a multiple of 16).
[[nodiscard]] bool view_shift_is_exact(std::int32_t step, std::int32_t zoom);

// The rectangle spanned by two points, smaller coordinates as left and top.
[[nodiscard]] ViewRect span_rect(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1);

// Whether the centre of a sheet rectangle, in view pixels
// ((x + width / 2 - scroll_x) * zoom / 16, likewise y), lies within `rect`,
// edges included.
[[nodiscard]] bool centre_in_rect(std::int32_t x, std::int32_t y, std::int32_t width,
                                  std::int32_t height, std::int32_t scroll_x, std::int32_t scroll_y,
                                  std::int32_t zoom, const ViewRect& rect);

// The sheet's right and bottom edges on screen: ((sheet size, or 32768 when
// 0 or less) - scroll) * zoom / 16.
struct SheetEdges {
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const SheetEdges&, const SheetEdges&) = default;
};
[[nodiscard]] SheetEdges sheet_edges(std::int32_t sheet_width, std::int32_t sheet_height,
                                     std::int32_t scroll_x, std::int32_t scroll_y,
                                     std::int32_t zoom);

// What the view paints for an update rectangle: the sheet part in the
// background colour and the parts right of and below the sheet in the
// window colour (empty rectangles have right <= left or bottom <= top).
struct SheetPaintPlan {
  ViewRect sheet;
  ViewRect right_of_sheet;
  ViewRect below_sheet;
};
[[nodiscard]] SheetPaintPlan plan_sheet_paint(const ViewRect& update, const SheetEdges& edges);

// One side of a StretchBlt: origin and size.
struct BlitArea {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const BlitArea&, const BlitArea&) = default;
};

// The part of an entry's picture (`width` x `height` sheet pixels) that a
// repaint of `update` copies, and where it goes: at whole magnifications
// ("x 1" and up) only the picture pixels under the update, each one exactly
// `zoom` / 16 view pixels wide, so partial repaints meet without seams;
// below 100 % the whole picture shrunk into the entry's rectangle (the
// truncated corners and sizes of entry_view_rect do not divide evenly). An
// empty destination when nothing of the entry is under the update.
struct EntryBlit {
  BlitArea destination;
  BlitArea source;
};
[[nodiscard]] EntryBlit entry_blit(const ViewRect& entry, const ViewRect& update,
                                   std::int32_t width, std::int32_t height, std::int32_t zoom);

}  // namespace piconel
