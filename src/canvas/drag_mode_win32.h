#pragma once

// Dragging entry windows as a mouse mode of the sheet view: a press on an
// entry enters it and runs the system's move loop, the loop's moving and
// moved notifications are its mouse handlers (snapping, the other selected
// entries following), and the end of the loop leaves it, deciding a click.
// Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include "canvas/drag_move.h"
#include "canvas/entry_window_win32.h"
#include "canvas/page_summary_win32.h"
#include "canvas/sheet_scroller_win32.h"
#include "canvas/sheet_selection_win32.h"
#include "canvas/sheet_view_host.h"
#include "canvas/sheet_view_state.h"
#include "project/project.h"

namespace piconel {

// The parts of the sheet view a drag reads and changes; all belong to the
// view and outlive the mode. `view` and `screen_rect` are the view's own
// members: its window and its window rectangle in screen coordinates.
struct DragModeView {
  const HWND& view;
  const RECT& screen_rect;
  const SheetViewState& state;
  Project& project;
  SheetViewHost& host;
  SheetSelection& selection;
  SheetScroller& scroller;
  PageSummary& summary;
};

class DragMode final : public EntryWindowInput {
 public:
  explicit DragMode(const DragModeView& parts)
      : window_(parts.view),
        screen_rect_(parts.screen_rect),
        state_(parts.state),
        project_(parts.project),
        host_(parts.host),
        selection_(parts.selection),
        scroller_(parts.scroller),
        summary_(parts.summary) {}

  // Enter: the press, which runs the system's move loop and leaves the mode
  // when the loop ends.
  LRESULT entry_pressed(HWND window, ImageEntry& entry, WPARAM wparam, LPARAM lparam) override;
  void entry_double_clicked(ImageEntry& entry, LPARAM lparam) override;
  // Mouse: the move loop's notifications.
  bool entry_moving(ImageEntry& entry, RECT& rect) override;
  void entry_moved(HWND window, ImageEntry& entry) override;

  // No entry carries the others any more (a new page, a zoom).
  void forget_target() { drag_.target = nullptr; }
  // `entry` is being removed.
  void forget_target(const ImageEntry& entry) {
    if (drag_.target == &entry) {
      drag_.target = nullptr;
    }
  }

 private:
  // Leave: the button went up at `release` after a press that left the
  // selection for later.
  void release_entry(const ImageEntry& entry, DragPoint release);
  [[nodiscard]] bool move_entry_rect(ImageEntry& entry, RECT& rect);
  [[nodiscard]] DragView drag_view() const;

  const HWND& window_;
  const RECT& screen_rect_;
  const SheetViewState& state_;
  Project& project_;
  SheetViewHost& host_;
  SheetSelection& selection_;
  SheetScroller& scroller_;
  PageSummary& summary_;
  // Press point, positions at the press, drag target.
  DragState drag_;
  // The entry whose window the system's move loop is moving: the loop runs
  // inside the default handling of the press, and only its moving and moved
  // notifications are a drag (zooming, scrolling and creating windows move
  // them too).
  const ImageEntry* move_loop_entry_ = nullptr;
};

}  // namespace piconel
