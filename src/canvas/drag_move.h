#pragma once

// Dragging images over the sheet view: which image a press falls on, where
// the press was, the rectangle the image gets while it is moved (cursor displacement, edge
// snapping, the sheet limits), how far the other selected images follow, and
// the click-or-drag decision when the button goes up. No window is needed:
// the window layer hands in points from its messages and the view's state.

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "image/image_entry.h"
#include "project/page_images.h"

namespace piconel {

// A point of a drag in view pixels (the view's client coordinates) or in
// sheet pixels, as the name says.
struct DragPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const DragPoint&, const DragPoint&) = default;
};

// The sheet view's drag state.
struct DragState {
  // View position of the last press or double-click on an entry.
  DragPoint press_point;
  // The pressed entry's position in sheet pixels; the moved rectangle and
  // the followers' displacement are measured from it.
  std::int32_t press_x = 0;
  std::int32_t press_y = 0;
  // Ctrl as the input queue had it with the press. A user lets go of Ctrl
  // soon after the button, often before the click is decided.
  bool ctrl_at_press = false;
  // The entry whose moves carry the other selected entries, from the press
  // until the button goes up; none outside a drag.
  const ImageEntry* target = nullptr;
  // Every entry's position at the press, in list order: the followers are
  // placed from here at every step, so steps never add up rounding or the
  // sheet limits.
  std::vector<DragPoint> start_positions;

  // Records a press or double-click at `point` on `entry` of `entries`.
  void record_press(DragPoint point, const ImageEntry& entry, const ImageEntryList& entries);
};

// What the view's state gives a press and a move.
struct DragView {
  std::int32_t zoom = kZoomUnit;
  std::int32_t scroll_x = 0;
  std::int32_t scroll_y = 0;
  std::int32_t snap_width = 0;
};

// The entry a press at `point` falls on: the last in list order (it is
// drawn over the earlier ones) whose view rectangle holds the point; none on
// empty sheet.
[[nodiscard]] const ImageEntry* entry_at(const ImageEntryList& entries, DragPoint point,
                                         const DragView& view);

struct DragMove {
  // The image's rectangle after snapping and the limits.
  SheetRect sheet;
  // Snapping or the limits moved it away from where the cursor put it.
  bool changed = false;
};

// The rectangle of `dragged` while the cursor is at `cursor`: the cursor's
// displacement since the press in sheet pixels,
// ((press - cursor) * 16) / zoom truncated, taken off the press position;
// then snapped against every other entry of `entries` and kept within 0 ..
// 32768 - size.
[[nodiscard]] DragMove drag_move(const DragState& drag, DragPoint cursor, const ImageEntry& dragged,
                                 const ImageEntryList& entries, const DragView& view);

// Status bar part 1 while an image is moved: "(%d,%d)-(%d,%d)" with x, y,
// width and height.
[[nodiscard]] std::string drag_status_text(const SheetRect& rect);

// One step of a drag: `leader` to `leader_at`, and every other selected
// entry of `entries` to its position at the press moved by the leader's
// displacement since the press (`leader_at` minus `press_x`, `press_y`),
// kept within the sheet limits. The group keeps its shape at every zoom, and
// each step gives what the last one alone would. The followers stay when
// the list is not the one the press recorded.
[[nodiscard]] std::vector<EntryMove> drag_step_moves(const ImageEntryList& entries,
                                                     const ImageEntry& leader, DragPoint leader_at,
                                                     const DragState& drag);

// A gesture counts as a click when it ends with the cursor at the press
// point's x or at its y.
[[nodiscard]] bool is_click(DragPoint press_point, DragPoint cursor);

// What a press that left the selection for later does when the button goes
// up at `release`: a click selects the pressed image alone, or with Ctrl
// held at the press toggles it; otherwise the status bar describes it.
enum class PressOutcome { SelectAlone, ToggleSelection, Describe };
[[nodiscard]] PressOutcome press_outcome(const DragState& drag, DragPoint release);

}  // namespace piconel
