// Dragging entry windows: the press, the system's move loop with snapping,
// the other selected entries following, the click decided at the first
// mouse move afterwards, and the double-click.

#include <windowsx.h>

#include "canvas/sheet_view_win32.h"
#include "project/project_file.h"

namespace piconel {

namespace {

// Ctrl as it is now, not as the message queue last saw it.
bool ctrl_held() {
  return GetAsyncKeyState(VK_CONTROL) < 0;
}

// Signed, like the GetCursorPos point it is compared with: screens left of
// or above the primary one have negative coordinates.
DragPoint point_of(LPARAM lparam) {
  return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

}  // namespace

DragView SheetView::drag_view() const {
  return {state_.zoom,       state_.scroll_x,   state_.scroll_y,
          state_.snap_width, screen_rect_.left, screen_rect_.top};
}

LRESULT SheetView::press_entry(HWND window, ImageEntry& entry, WPARAM wparam, LPARAM lparam) {
  SetFocus(window_);
  drag_.record_press(point_of(lparam), entry, state_.zoom);
  drag_.pressed = true;
  drag_.target = &entry;
  if (!entry.selected && !ctrl_held()) {
    // A press on an unselected image selects it alone at once; a press on a
    // selected one (or with Ctrl) waits for the click decision.
    deselect_all_except(nullptr);
    select_entry(entry, true);
    drag_.pressed = false;
  }
  // The default handling runs the system's move loop until the button is
  // released; the moving and moved notifications arrive meanwhile.
  const ImageEntry* outer = move_loop_entry_;
  move_loop_entry_ = &entry;
  const LRESULT result = DefWindowProcW(window, WM_NCLBUTTONDOWN, wparam, lparam);
  move_loop_entry_ = outer;
  return result;
}

bool SheetView::move_entry_rect(ImageEntry& entry, RECT& rect) {
  if (!entry.selected) {
    select_entry(entry, true);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const DragMove move =
      drag_move(drag_, {cursor.x, cursor.y}, entry, project_.entries, drag_view());
  host_.set_status_text(kEntryStatusPart, drag_status_text(move.sheet));
  drag_.has_last_move = true;
  drag_.last_move = move.sheet;
  drag_.last_window = {move.window.left, move.window.top};
  // Written also when unchanged: the rectangle then is where the cursor put
  // the image, truncated to whole sheet pixels.
  rect = {move.window.left, move.window.top, move.window.right, move.window.bottom};
  return move.changed;
}

void SheetView::entry_moved(HWND window, ImageEntry& entry, LPARAM lparam) {
  const DragView view = drag_view();
  if (drag_.target == &entry) {
    // The first move after the press carries the other selected entries;
    // with full-window dragging the later steps move the dragged one alone.
    const DragPoint offset = follower_offset(drag_, point_of(lparam), view);
    {
      RedrawLock lock(window_);
      move_followers(project_.entries, entry, offset);
      for (const ImageEntry& other : project_.entries) {
        if (&other != &entry && other.selected) {
          place_entry_window(other, true);
        }
      }
    }
    drag_.target = nullptr;
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  const DragPoint position = dragged_position(drag_, {rect.left, rect.top}, view);
  entry.x = position.x;
  entry.y = position.y;
  update_extent(false);
  mark_modified(project_);
}

void SheetView::entry_mouse_move(ImageEntry& entry, LPARAM lparam) {
  if (!drag_.pressed) {
    return;
  }
  if (is_click(drag_.press_point, point_of(lparam))) {
    if (ctrl_held()) {
      select_entry(entry, !entry.selected);
    } else {
      deselect_all_except(&entry);
      select_entry(entry, true);
    }
  } else {
    host_.set_status_text(kEntryStatusPart, entry_status_text(entry));
  }
  drag_.pressed = false;
}

void SheetView::double_click_entry(ImageEntry& entry, LPARAM lparam) {
  drag_.record_press(point_of(lparam), entry, state_.zoom);
  drag_.pressed = false;
  deselect_all_except(nullptr);
  select_entry(entry, true);
  host_.entry_double_clicked(entry);
}

}  // namespace piconel
