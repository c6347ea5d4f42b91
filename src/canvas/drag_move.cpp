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

void DragState::record_press(DragPoint point, const ImageEntry& entry,
                             const ImageEntryList& entries) {
  press_point = point;
  press_x = entry.x;
  press_y = entry.y;
  start_positions.clear();
  start_positions.reserve(entries.size());
  for (const ImageEntry& other : entries) {
    start_positions.push_back({other.x, other.y});
  }
}

const ImageEntry* entry_at(const ImageEntryList& entries, DragPoint point, const DragView& view) {
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const ViewRect rect =
        entry_view_rect(sheet_rect_of(*entry), view.scroll_x, view.scroll_y, view.zoom);
    if (rect.left <= point.x && point.x < rect.right && rect.top <= point.y &&
        point.y < rect.bottom) {
      return &*entry;
    }
  }
  return nullptr;
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
  return move;
}

std::string drag_status_text(const SheetRect& rect) {
  std::string text;
  (void)bounded_format_string(text, kStatusBytes, kDragStatusFormat, rect.x, rect.y, rect.width,
                              rect.height);
  return text;
}

std::vector<EntryMove> drag_step_moves(const ImageEntryList& entries, const ImageEntry& leader,
                                       DragPoint leader_at, const DragState& drag) {
  std::vector<EntryMove> moves{{&leader, leader_at.x, leader_at.y}};
  if (drag.start_positions.size() != entries.size()) {
    return moves;
  }
  const std::int64_t dx = std::int64_t{leader_at.x} - drag.press_x;
  const std::int64_t dy = std::int64_t{leader_at.y} - drag.press_y;
  auto start = drag.start_positions.begin();
  for (const ImageEntry& entry : entries) {
    const DragPoint from = *start++;
    if (&entry == &leader || !entry.selected) {
      continue;
    }
    const SheetRect moved =
        limit_to_sheet({sum32(from.x, dx), sum32(from.y, dy), entry.width, entry.height});
    moves.push_back({&entry, moved.x, moved.y});
  }
  return moves;
}

bool is_click(DragPoint press_point, DragPoint cursor) {
  return press_point.x == cursor.x || press_point.y == cursor.y;
}

PressOutcome press_outcome(const DragState& drag, DragPoint release) {
  if (!is_click(drag.press_point, release)) {
    return PressOutcome::Describe;
  }
  return drag.ctrl_at_press ? PressOutcome::ToggleSelection : PressOutcome::SelectAlone;
}

}  // namespace piconel
