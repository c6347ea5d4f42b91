#pragma once

// The sheet view: window class "client" showing the current page's sheet,
// one window of class "child" per image entry, scrolling, zoom, selection by
// click and by rectangle, dragging images with snapping, and the page
// summary in the status bar. It is the project's SheetViewPort, the image
// loader's EntryDisplayFactory, the overlap check's EntrySelection and an
// observer of the page model.
// Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <optional>
#include <string_view>

#include "canvas/drag_move.h"
#include "canvas/overlap_check.h"
#include "canvas/sheet_geometry.h"
#include "canvas/sheet_view_host.h"
#include "canvas/sheet_view_state.h"
#include "image/open_image_entry.h"
#include "project/project.h"
#include "project/project_ports.h"

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

  // create_sheet_view: registers "client" and "child" (once), resets the
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
  // for it (entry windows keep one screen pixel per image pixel at "x 1").
  void set_dpi(int dpi);
  // Stores the zoom (sixteenths), moves and sizes every entry window for it
  // and refreshes the scroll bars; the scroll position stays the same sheet
  // point.
  void set_zoom(std::int32_t zoom_sixteenths);
  // The view's window rectangle in screen coordinates, recorded by the main
  // window on every resize and move (dragging reads it).
  void set_screen_rect(const RECT& rect) { screen_rect_ = rect; }
  [[nodiscard]] const RECT& screen_rect() const { return screen_rect_; }

  // Recomputes the used extent; when forced or changed, sets status part 0
  // and refreshes the scroll bars.
  void update_extent(bool force);
  void rebuild_colours() { rebuild_sheet_colours(project_.images.entries(), state_.colours); }

  // Adds the image at `path` with automatic placement (the cursor carried
  // from file to file when given). None when the page is full or the file
  // cannot be read or shown.
  const ImageEntry* add_image(std::string_view path, PlacementCursor* cursor);

  void select_all();
  // Selects or deselects entry `index` (list order); nothing for no entry.
  void set_entry_selected(int index, bool on) override;
  // Removes every selected entry (its image list row, its place in the list,
  // its window) and marks the project modified, also when none was
  // selected. The caller rebuilds the colours and updates the extent.
  void delete_selected();
  // Removes every entry without marking the project modified (page unload).
  void delete_all();
  // Releases every entry's drawing objects and record without touching
  // windows (shut-down, after the windows are gone).
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

  // PageObserver: a selection shows on the entry and in status part 1; an
  // entry that goes stops being the drag target.
  void page_changed(const PageChange& change) override;

  // EntryDisplayFactory.
  std::unique_ptr<EntryDisplay> create_display(ImageEntry& entry, const Dib& picture) override;
  std::unique_ptr<EntryDisplay> create_placeholder_display(ImageEntry& entry) override;

  // Message handling of the two window classes (public for their thunks);
  // attach gives the view its window at WM_NCCREATE.
  void attach(HWND window) { window_ = window; }
  LRESULT handle_view_message(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_entry_message(HWND window, ImageEntry& entry, UINT message, WPARAM wparam,
                               LPARAM lparam);

 private:
  void select_entry(const ImageEntry& entry, bool on);
  void deselect_all_except(const ImageEntry* keep);
  void refresh_scroll_bars();
  [[nodiscard]] std::int32_t visible_width() const;
  [[nodiscard]] std::int32_t visible_height() const;
  void apply_scroll(bool vertical, std::int32_t step);
  // Puts the entry's window where its sheet rectangle shows at the current
  // scroll position and zoom; nothing when it stands there already.
  void place_entry_window(const ImageEntry& entry, bool repaint);
  void place_entry_windows();
  void paint_view();
  void paint_entry(HWND window, const ImageEntry& entry) const;
  // Dragging (sheet_view_drag_win32.cpp).
  [[nodiscard]] DragView drag_view() const;
  LRESULT press_entry(HWND window, ImageEntry& entry, WPARAM wparam, LPARAM lparam);
  void release_entry(const ImageEntry& entry, DragPoint release);
  [[nodiscard]] bool move_entry_rect(ImageEntry& entry, RECT& rect);
  void entry_moved(HWND window, ImageEntry& entry);
  void double_click_entry(ImageEntry& entry, LPARAM lparam);
  void begin_rectangle(std::int32_t x, std::int32_t y);
  void drag_rectangle(std::int32_t x, std::int32_t y);
  void end_rectangle(std::int32_t x, std::int32_t y);
  void forget_entry_windows();

  Project& project_;
  SheetViewHost& host_;
  const PictureDecoder* decoders_;
  HWND window_ = nullptr;
  SheetViewState state_;
  RECT screen_rect_{};
  std::int32_t vertical_bar_width_ = 0;
  std::int32_t horizontal_bar_height_ = 0;
  // Redrawing is frozen from begin_page_load to end_page_load.
  bool frozen_ = false;
  // Press point, positions at the press, drag target.
  DragState drag_;
  // The entry whose window the system's move loop is moving: the loop runs
  // inside the default handling of the press, and only its moving and moved
  // notifications are a drag (zooming, scrolling and creating windows move
  // them too).
  const ImageEntry* move_loop_entry_ = nullptr;
  // Set while the view moves entry windows itself (scrolling, placing):
  // their moved notifications then say nothing about a drag.
  bool moving_windows_ = false;

  // Selection rectangle over empty sheet, in client coordinates.
  struct Rubber {
    bool active = false;
    std::int32_t start_x = 0;
    std::int32_t start_y = 0;
    ViewRect current;
    ViewRect last_drawn;
  } rubber_;
};

// Locks redrawing of a window (WM_SETREDRAW) and repaints it, children
// included, when it goes.
class RedrawLock {
 public:
  explicit RedrawLock(HWND window);
  ~RedrawLock();
  RedrawLock(const RedrawLock&) = delete;
  RedrawLock& operator=(const RedrawLock&) = delete;

 private:
  HWND window_;
};

}  // namespace piconel
