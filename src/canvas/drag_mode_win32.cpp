#include "canvas/drag_mode_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "window/redraw_lock_win32.h"

namespace piconel {

namespace {

// Ctrl as the input queue had it when the message being handled was taken
// from it: for a press, the state at the press.
bool ctrl_with_message() {
  return GetKeyState(VK_CONTROL) < 0;
}

// Signed, like the GetCursorPos point it is compared with: screens left of
// or above the primary one have negative coordinates.
DragPoint point_of(LPARAM lparam) {
  return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

}  // namespace

DragView DragMode::drag_view() const {
  return {state_.zoom,       state_.scroll_x,   state_.scroll_y,
          state_.snap_width, screen_rect_.left, screen_rect_.top};
}

LRESULT DragMode::entry_pressed(HWND window, ImageEntry& entry, WPARAM wparam, LPARAM lparam) {
  SetFocus(window_);
  drag_.record_press(point_of(lparam), entry, project_.images.entries());
  drag_.ctrl_at_press = ctrl_with_message();
  drag_.target = &entry;
  // A press on an unselected image selects it alone at once; a press on a
  // selected one (or with Ctrl) leaves the selection to the release.
  const bool decide_at_release = entry.selected || drag_.ctrl_at_press;
  if (!decide_at_release) {
    selection_.deselect_all_except(nullptr);
    selection_.select_entry(entry, true);
  }
  // The default handling runs the system's move loop until the button is
  // released; the moving and moved notifications arrive meanwhile.
  const ImageEntry* outer = move_loop_entry_;
  move_loop_entry_ = &entry;
  const LRESULT result = DefWindowProcW(window, WM_NCLBUTTONDOWN, wparam, lparam);
  move_loop_entry_ = outer;
  // Removing the entry meanwhile clears the target; the entry is then gone.
  const bool entry_alive = drag_.target == &entry;
  drag_.target = nullptr;
  if (entry_alive && decide_at_release) {
    // The release is the last message the loop took. Deciding here, on the
    // pressed image, needs no later mouse move, which a hand gives elsewhere
    // and over another image, if at all.
    release_entry(entry, point_of(static_cast<LPARAM>(GetMessagePos())));
  }
  return result;
}

void DragMode::release_entry(const ImageEntry& entry, DragPoint release) {
  switch (press_outcome(drag_, release)) {
    case PressOutcome::SelectAlone:
      selection_.deselect_all_except(&entry);
      selection_.select_entry(entry, true);
      break;
    case PressOutcome::ToggleSelection:
      selection_.select_entry(entry, !entry.selected);
      break;
    case PressOutcome::Describe:
      host_.set_status_text(kEntryStatusPart, entry_status_text(entry));
      break;
  }
}

bool DragMode::move_entry_rect(ImageEntry& entry, RECT& rect) {
  if (!entry.selected) {
    selection_.select_entry(entry, true);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const DragMove move =
      drag_move(drag_, {cursor.x, cursor.y}, entry, project_.images.entries(), drag_view());
  host_.set_status_text(kEntryStatusPart, drag_status_text(move.sheet));
  drag_.has_last_move = true;
  drag_.last_move = move.sheet;
  drag_.last_window = {move.window.left, move.window.top};
  // Written also when unchanged: the rectangle then is where the cursor put
  // the image, truncated to whole sheet pixels.
  rect = {move.window.left, move.window.top, move.window.right, move.window.bottom};
  return move.changed;
}

bool DragMode::entry_moving(ImageEntry& entry, RECT& rect) {
  return move_loop_entry_ == &entry && move_entry_rect(entry, rect);
}

void DragMode::entry_moved(HWND window, ImageEntry& entry) {
  // Only the move loop's own moves are a drag: a scroll or the view
  // placing the window (even in the middle of a drag) changes no position.
  if (move_loop_entry_ != &entry || scroller_.moving_windows()) {
    return;
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  const DragPoint position = dragged_position(drag_, {rect.left, rect.top}, drag_view());
  const ImageEntryList& entries = project_.images.entries();
  const bool carries_others =
      drag_.target == &entry &&
      std::any_of(entries.begin(), entries.end(),
                  [&](const ImageEntry& other) { return &other != &entry && other.selected; });
  if (!carries_others) {
    const EntryMove alone{&entry, position.x, position.y};
    project_.images.move({&alone, 1});
  } else {
    // With full-window dragging this runs at every step, so the group is
    // seen moving together; with outlines once, at the drop.
    project_.images.move(drag_step_moves(entries, entry, position, drag_));
    RedrawLock lock(window_);
    for (const ImageEntry& other : entries) {
      if (&other != &entry && other.selected) {
        scroller_.place_entry_window(other, true);
      }
    }
  }
  // A scroll since the last moving notification has left the window where
  // the old scroll position put it.
  scroller_.place_entry_window(entry, true);
  summary_.update_extent(false);
}

void DragMode::entry_double_clicked(ImageEntry& entry, LPARAM lparam) {
  drag_.record_press(point_of(lparam), entry, project_.images.entries());
  selection_.deselect_all_except(nullptr);
  selection_.select_entry(entry, true);
  host_.entry_double_clicked(entry);
}

}  // namespace piconel
