#include "canvas/drag_mode_win32.h"

namespace piconel {

DragView DragMode::drag_view() const {
  return {state_.zoom, state_.scroll_x, state_.scroll_y, state_.snap_width};
}

const ImageEntry* DragMode::entry_at(DragPoint point) const {
  return piconel::entry_at(project_.images.entries(), point, drag_view());
}

void DragMode::enter(const ImageEntry& entry, DragPoint point, bool ctrl) {
  SetFocus(window_);
  drag_.record_press(point, entry, project_.images.entries());
  drag_.ctrl_at_press = ctrl;
  drag_.target = &entry;
  // A press on an unselected image selects it alone at once; a press on a
  // selected one (or with Ctrl) leaves the selection to the release.
  decide_at_release_ = entry.selected || ctrl;
  if (!decide_at_release_) {
    selection_.deselect_all_except(nullptr);
    selection_.select_entry(entry, true);
  }
  SetCapture(window_);
}

void DragMode::mouse(DragPoint point) {
  if (drag_.target == nullptr || point == drag_.press_point) {
    return;
  }
  const ImageEntry& entry = *drag_.target;
  if (!entry.selected) {
    selection_.select_entry(entry, true);
  }
  const ImageEntryList& entries = project_.images.entries();
  const DragMove move = drag_move(drag_, point, entry, entries, drag_view());
  host_.set_status_text(kEntryStatusPart, drag_status_text(move.sheet));
  if (move.sheet.x == entry.x && move.sheet.y == entry.y) {
    return;
  }
  // Every step places the group from where it stood at the press, so the
  // images are seen moving together and steps never add up rounding.
  project_.images.move(drag_step_moves(entries, entry, {move.sheet.x, move.sheet.y}, drag_));
  summary_.update_extent(false);
}

void DragMode::leave(DragPoint point) {
  const ImageEntry* entry = drag_.target;
  if (entry == nullptr) {
    return;
  }
  stop();
  if (decide_at_release_) {
    release_entry(*entry, point);
  }
}

void DragMode::cancel() {
  const ImageEntry* entry = drag_.target;
  if (entry == nullptr) {
    return;
  }
  if (entry->x != drag_.press_x || entry->y != drag_.press_y) {
    project_.images.move(
        drag_step_moves(project_.images.entries(), *entry, {drag_.press_x, drag_.press_y}, drag_));
    summary_.update_extent(false);
    host_.set_status_text(kEntryStatusPart, entry_status_text(*entry));
  }
  stop();
}

void DragMode::capture_changed(HWND to) {
  if (to != window_) {
    drag_.target = nullptr;
  }
}

void DragMode::stop() {
  const bool held = drag_.target != nullptr;
  // Cleared first: giving the mouse back tells the view at once.
  drag_.target = nullptr;
  if (held && window_ != nullptr && GetCapture() == window_) {
    ReleaseCapture();
  }
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

void DragMode::double_clicked(const ImageEntry& entry, DragPoint point) {
  stop();
  drag_.record_press(point, entry, project_.images.entries());
  selection_.deselect_all_except(nullptr);
  selection_.select_entry(entry, true);
  host_.entry_double_clicked(entry);
}

}  // namespace piconel
