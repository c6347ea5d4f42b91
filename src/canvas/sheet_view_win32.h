#pragma once

// The sheet view: window class "client" showing the current page's sheet
// and its images, which it paints itself (an image has no window of its
// own). It keeps the view's state and puts together the objects that do its
// jobs: painting, the scroller, the selection, the page summary, and the
// mouse modes (the selection rectangle and dragging). It is
// the project's SheetViewPort, the image loader's EntryDisplayFactory and
// the overlap check's EntrySelection, and it follows the page model.
// Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <optional>
#include <string_view>

#include "canvas/drag_mode_win32.h"
#include "canvas/overlap_check.h"
#include "canvas/page_summary_win32.h"
#include "canvas/rubber_band_mode_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/sheet_scroller_win32.h"
#include "canvas/sheet_selection_win32.h"
#include "canvas/sheet_view_host.h"
#include "canvas/sheet_view_state.h"
#include "image/open_image_entry.h"
#include "project/project.h"
#include "project/project_ports.h"
#include "window/back_buffer_win32.h"
#include "window/redraw_lock_win32.h"

namespace piconel {

class PictureDecoder;

class SheetView final : public SheetViewPort,
                        public EntryDisplayFactory,
                        public EntrySelection,
                        public PageObserver {
 public:
  // `project` owns the page model the view shows; `decoders` (may be none)
  // are the plug-ins used when images are added. Both outlive the view.
  SheetView(Project& project, SheetViewHost& host, const PictureDecoder* decoders)
      : project_(project), host_(host), decoders_(decoders) {
    project_.images.subscribe(*this);
  }
  ~SheetView() override;
  SheetView(const SheetView&) = delete;
  SheetView& operator=(const SheetView&) = delete;

  // create_sheet_view: registers "client" (once), resets the
  // state and creates the view as a child of `parent` at the given client
  // rectangle. False when the window cannot be made.
  [[nodiscard]] bool create(HWND parent, const RECT& rect);
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] const SheetViewState& state() const { return state_; }
  // The colour list that loaded images merge into.
  [[nodiscard]] ColourList& sheet_colours() { return state_.colours; }

  // reset_sheet_view: the per-page state back to its start and status part
  // 1 empty.
  void reset_sheet_view();
  void set_snap_width(std::int32_t width) { state_.snap_width = width; }
  // The window moved to a monitor of `dpi`: the scroll bar sizes are taken
  // for it (images keep one screen pixel per image pixel at "x 1").
  void set_dpi(int dpi);
  // Stores the zoom (sixteenths), keeps every image on the sheet, refreshes
  // the scroll bars and repaints; the scroll position stays the same sheet
  // point.
  void set_zoom(std::int32_t zoom_sixteenths);

  // Recomputes the used extent; when forced or changed, sets status part 0
  // and refreshes the scroll bars.
  void update_extent(bool force) { summary_.update_extent(force); }
  void rebuild_colours() { rebuild_sheet_colours(project_.images.entries(), state_.colours); }

  // Adds the image at `path` with automatic placement (the cursor carried
  // from file to file when given). None when the page is full or the file
  // cannot be read or shown.
  const ImageEntry* add_image(std::string_view path, PlacementCursor* cursor);

  void select_all() { selection_.select_all(); }
  // Selects or deselects entry `index` (list order); nothing for no entry.
  void set_entry_selected(int index, bool on) override { selection_.set_entry_selected(index, on); }
  // Removes every selected entry (its image list row, its place in the list,
  // its picture) and marks the project modified, also when none was
  // selected. The caller rebuilds the colours and updates the extent.
  void delete_selected();
  // Removes every entry without marking the project modified (page unload).
  void delete_all();
  // Releases every entry's picture and record (shut-down).
  void free_all();

  // Scrolls one axis by a scroll-bar request (thumb: the position of
  // SB_THUMBPOSITION) or by a wheel turn; then update_extent(true).
  void scroll(bool vertical, ScrollRequest request, std::int32_t thumb);
  void scroll_wheel(std::int32_t wheel_delta);

  // SheetViewPort.
  bool exists() const override { return window_ != nullptr; }
  void begin_page_load() override;
  void reset_page_state() override { reset_sheet_view(); }
  void set_sheet_size(int width, int height) override;
  void set_background_colour(ColorRef colour) override;
  void redraw() override;
  SheetExtent used_extent() const override;
  void end_page_load() override;

  // PageObserver: what changed is painted again, a selection shows in status
  // part 1, and an entry that goes stops being the drag target.
  void page_changed(const PageChange& change) override;

  // EntryDisplayFactory.
  std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) override;
  std::unique_ptr<EntryDisplay> create_placeholder_display(ImageEntry& entry) override;

 private:
  // The messages of class "client" (through bound_window_procedure).
  static LRESULT handle_message(SheetView& view, HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam);
  LRESULT handle_view_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void paint_view();
  // The mouse messages: a press on an image drags, on empty sheet draws the
  // selection rectangle.
  void press(UINT message, LPARAM lparam);
  void mouse_moved(LPARAM lparam);
  void released(LPARAM lparam);
  // Marks what a change of the page shows differently for painting.
  void invalidate_change(const PageChange& change);
  void invalidate_sheet_rect(std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height);

  Project& project_;
  SheetViewHost& host_;
  const PictureDecoder* decoders_;
  HWND window_ = nullptr;
  SheetViewState state_;
  BackBuffer back_buffer_;
  // Redrawing is frozen from begin_page_load to end_page_load.
  std::optional<RedrawLock> frozen_;
  // The jobs, each given the parts of the view it works on.
  SheetScroller scroller_{window_, state_};
  PageSummary summary_{project_, state_, host_, scroller_};
  SheetSelection selection_{project_.images};
  RubberBandMode rubber_{window_, state_, selection_};
  DragMode drag_{{window_, state_, project_, host_, selection_, summary_}};
};

}  // namespace piconel
