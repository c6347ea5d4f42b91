#pragma once

// Dragging an image's window over the sheet view: where the press was, the
// rectangle the window gets while it is moved (cursor displacement, edge
// snapping, the sheet limits), how far the other selected images follow, and
// the click-or-drag decision after the move. No window is needed: the window
// layer hands in points from its messages and the view's state.

#include <cstdint>
#include <string>

#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "image/image_entry.h"

namespace piconel {

// A point of a drag in screen pixels (or view or sheet pixels, as the name
// says).
struct DragPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const DragPoint&, const DragPoint&) = default;
};

// The sheet view's drag state.
struct DragState {
  // Screen position of the last press or double-click on an entry.
  DragPoint press_point;
  // The pressed entry's position in view pixels: (x * zoom / 16, y * zoom / 16).
  DragPoint press_position;
  // The pressed entry's position in sheet pixels; the moved rectangle is
  // measured from it.
  std::int32_t press_x = 0;
  std::int32_t press_y = 0;
  // A press whose click handling is still pending.
  bool pressed = false;
  // The entry whose first move carries the other selected entries; none
  // outside a drag.
  ImageEntry* target = nullptr;
  // The rectangle of the last moving notification since the press and its
  // window's top-left corner in screen pixels.
  bool has_last_move = false;
  SheetRect last_move;
  DragPoint last_window;

  // Records a press or double-click at `point` on `entry`.
  void record_press(DragPoint point, const ImageEntry& entry, std::int32_t zoom);
};

// What the view's state gives a move.
struct DragView {
  std::int32_t zoom = kZoomUnit;
  std::int32_t scroll_x = 0;
  std::int32_t scroll_y = 0;
  std::int32_t snap_width = 0;
  // The view's window rectangle's top-left corner in screen pixels.
  std::int32_t view_left = 0;
  std::int32_t view_top = 0;
};

struct DragMove {
  // The image's rectangle after snapping and the limits.
  SheetRect sheet;
  // Its window rectangle in screen pixels:
  // ((L - scroll_x) * zoom / 16 + view left, ...) for each edge.
  ViewRect window;
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

// How far the other selected images follow the dragged one, in sheet
// pixels: the dragged window's displacement in view pixels,
// new client position + scroll * zoom / 16 - press position, times 16 / zoom.
[[nodiscard]] DragPoint follower_offset(const DragState& drag, DragPoint new_client,
                                        const DragView& view);

// Moves every selected entry of `entries` except `leader` by `offset`, kept
// within the sheet limits.
void move_followers(ImageEntryList& entries, const ImageEntry& leader, DragPoint offset);

// A sheet position back from a window's offset to the view's corner in view
// pixels: (offset * 16) / zoom + scroll.
[[nodiscard]] std::int32_t sheet_position_of_window(std::int32_t view_offset, std::int32_t scroll,
                                                    std::int32_t zoom);

// The dragged entry's position once its window stands at `window` (top-left
// corner, screen pixels): taken back from the window, except that a window
// standing where the last moving notification put it gets that
// notification's position. Below 100 % several sheet pixels share one view
// pixel, and the way back through the window would lose the pixel the
// snapping chose.
[[nodiscard]] DragPoint dragged_position(const DragState& drag, DragPoint window,
                                         const DragView& view);

// The first mouse move after a press counts the gesture as a click when the
// cursor is at the press point's x or at its y.
[[nodiscard]] bool is_click(DragPoint press_point, DragPoint cursor);

}  // namespace piconel
