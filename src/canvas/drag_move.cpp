#include "canvas/drag_move.h"

#include <algorithm>
#include <limits>

#include "store/bounded_format.h"

namespace piconel {

namespace {

constexpr std::size_t kStatusBytes = 256;
constexpr char kDragStatusFormat[] = "(%d,%d)-(%d,%d)";

// Positions read from a project file need not be small: sums are made in
// 64 bits and brought back into range before the sheet limits apply.
std::int32_t sum32(std::int64_t a, std::int64_t b) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      a + b, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// (press - cursor) * 16 / zoom, truncated toward zero.
std::int32_t cursor_displacement(std::int32_t press, std::int32_t cursor, std::int32_t zoom) {
  return view_length_to_sheet(sum32(press, -std::int64_t{cursor}), zoom);
}

}  // namespace

void DragState::record_press(DragPoint point, const ImageEntry& entry, std::int32_t zoom) {
  press_point = point;
  press_position = {sheet_length_to_view(entry.x, zoom), sheet_length_to_view(entry.y, zoom)};
  press_x = entry.x;
  press_y = entry.y;
  has_last_move = false;
}

DragMove drag_move(const DragState& drag, DragPoint cursor, const ImageEntry& dragged,
                   const ImageEntryList& entries, const DragView& view) {
  const SheetRect proposed{
      sum32(drag.press_x,
            -std::int64_t{cursor_displacement(drag.press_point.x, cursor.x, view.zoom)}),
      sum32(drag.press_y,
            -std::int64_t{cursor_displacement(drag.press_point.y, cursor.y, view.zoom)}),
      dragged.width, dragged.height};
  const SheetRect snapped = snap_to_entries(proposed, entries, &dragged, view.snap_width);
  DragMove move;
  move.sheet = limit_to_sheet(snapped);
  move.changed = move.sheet.x != proposed.x || move.sheet.y != proposed.y;
  const std::int32_t right = sum32(move.sheet.x, move.sheet.width);
  const std::int32_t bottom = sum32(move.sheet.y, move.sheet.height);
  move.window = {sheet_to_view(move.sheet.x, view.scroll_x, view.zoom) + view.view_left,
                 sheet_to_view(move.sheet.y, view.scroll_y, view.zoom) + view.view_top,
                 sheet_to_view(right, view.scroll_x, view.zoom) + view.view_left,
                 sheet_to_view(bottom, view.scroll_y, view.zoom) + view.view_top};
  return move;
}

std::string drag_status_text(const SheetRect& rect) {
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kDragStatusFormat, rect.x, rect.y, rect.width,
                              rect.height);
  return text;
}

DragPoint follower_offset(const DragState& drag, DragPoint new_client, const DragView& view) {
  const std::int32_t dx_view =
      sum32(sum32(new_client.x, sheet_length_to_view(view.scroll_x, view.zoom)),
            -std::int64_t{drag.press_position.x});
  const std::int32_t dy_view =
      sum32(sum32(new_client.y, sheet_length_to_view(view.scroll_y, view.zoom)),
            -std::int64_t{drag.press_position.y});
  return {view_length_to_sheet(dx_view, view.zoom), view_length_to_sheet(dy_view, view.zoom)};
}

void move_followers(ImageEntryList& entries, const ImageEntry& leader, DragPoint offset) {
  for (ImageEntry& entry : entries) {
    if (&entry == &leader || !entry.selected) {
      continue;
    }
    const SheetRect moved = limit_to_sheet(
        {sum32(entry.x, offset.x), sum32(entry.y, offset.y), entry.width, entry.height});
    entry.x = moved.x;
    entry.y = moved.y;
  }
}

std::int32_t sheet_position_of_window(std::int32_t view_offset, std::int32_t scroll,
                                      std::int32_t zoom) {
  return sum32(view_length_to_sheet(view_offset, zoom), scroll);
}

DragPoint dragged_position(const DragState& drag, DragPoint window, const DragView& view) {
  if (drag.has_last_move && window == drag.last_window) {
    return {drag.last_move.x, drag.last_move.y};
  }
  return {sheet_position_of_window(window.x - view.view_left, view.scroll_x, view.zoom),
          sheet_position_of_window(window.y - view.view_top, view.scroll_y, view.zoom)};
}

bool is_click(DragPoint press_point, DragPoint cursor) {
  return press_point.x == cursor.x || press_point.y == cursor.y;
}

}  // namespace piconel
