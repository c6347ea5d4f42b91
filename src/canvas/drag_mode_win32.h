#pragma once

// Dragging images as a mouse mode of the sheet view: a press on an image
// enters it and takes the mouse, each move places the pressed image where
// the cursor takes it (snapping, the sheet limits) with the other selected
// images following, the release leaves it and decides a click, and Esc puts
// the images back where they stood at the press. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include "canvas/drag_move.h"
#include "canvas/page_summary_win32.h"
#include "canvas/sheet_selection_win32.h"
#include "canvas/sheet_view_host.h"
#include "canvas/sheet_view_state.h"
#include "project/project.h"

namespace piconel {

// The parts of the sheet view a drag reads and changes; all belong to the
// view and outlive the mode. `view` is the view's window member.
struct DragModeView {
  const HWND& view;
  const SheetViewState& state;
  Project& project;
  SheetViewHost& host;
  SheetSelection& selection;
  PageSummary& summary;
};

class DragMode {
 public:
  explicit DragMode(const DragModeView& parts)
      : window_(parts.view),
        state_(parts.state),
        project_(parts.project),
        host_(parts.host),
        selection_(parts.selection),
        summary_(parts.summary) {}

  // The image a press at `point` (client coordinates of the view) falls on;
  // none on empty sheet.
  [[nodiscard]] const ImageEntry* entry_at(DragPoint point) const;

  // Enter: the left button went down at `point` on `entry`, with Ctrl held
  // or not.
  void enter(const ImageEntry& entry, DragPoint point, bool ctrl);
  // Mouse: the cursor at `point` while the button is held.
  void mouse(DragPoint point);
  // Leave: the button went up at `point`.
  void leave(DragPoint point);
  // Esc in the middle of a drag: the images go back where they stood at the
  // press, and the drag ends without deciding a click.
  void cancel();
  // The view lost the mouse to `to` (WM_CAPTURECHANGED): the drag ends with
  // the images where they are.
  void capture_changed(HWND to);
  void double_clicked(const ImageEntry& entry, DragPoint point);
  [[nodiscard]] bool active() const { return drag_.target != nullptr; }

  // No entry carries the others any more (a new page, a zoom).
  void forget_target() { stop(); }
  // `entry` is being removed.
  void forget_target(const ImageEntry& entry) {
    if (drag_.target == &entry) {
      stop();
    }
  }

 private:
  // Out of the mode, giving the mouse back when the view holds it.
  void stop();
  // The button went up at `release` after a press that left the selection
  // for later.
  void release_entry(const ImageEntry& entry, DragPoint release);
  [[nodiscard]] DragView drag_view() const;

  const HWND& window_;
  const SheetViewState& state_;
  Project& project_;
  SheetViewHost& host_;
  SheetSelection& selection_;
  PageSummary& summary_;
  // Press point, positions at the press, drag target.
  DragState drag_;
  // A press on a selected image, or with Ctrl, decides the selection when
  // the button goes up.
  bool decide_at_release_ = false;
};

}  // namespace piconel
