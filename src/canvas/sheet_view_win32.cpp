#include "canvas/sheet_view_win32.h"

#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/entry_picture_win32.h"
#include "canvas/scroll_request_win32.h"
#include "canvas/sheet_paint_win32.h"
#include "canvas/sheet_view_state.h"
#include "project/project_file.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "window/window_class_win32.h"
#include "window/window_dpi_win32.h"

namespace piconel {

namespace {

constexpr wchar_t kViewClass[] = L"client";

}  // namespace

SheetView::~SheetView() {
  project_.images.unsubscribe(*this);
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

bool SheetView::create(HWND parent, const RECT& rect) {
  // The view paints every pixel itself (no background brush); a double
  // click on an image opens its settings.
  if (!register_window_class(
          {.name = kViewClass,
           .procedure = bound_window_procedure<SheetView, &SheetView::handle_message>,
           .style = CS_DBLCLKS})) {
    return false;
  }
  reset_sheet_view();
  scroller_.set_dpi(window_dpi(parent));
  const HWND window = CreateWindowExW(
      0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL,
      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
      GetModuleHandleW(nullptr), this);
  window_ = window;
  if (window_ == nullptr) {
    return false;
  }
  update_extent(true);
  return true;
}

void SheetView::set_dpi(int dpi) {
  scroller_.set_dpi(dpi);
  if (window_ != nullptr) {
    update_extent(true);
  }
}

void SheetView::reset_sheet_view() {
  state_.reset_page();
  rubber_.reset();
  drag_.forget_target();
  host_.set_status_text(kEntryStatusPart, "");
}

void SheetView::set_sheet_size(int width, int height) {
  state_.sheet_width = width;
  state_.sheet_height = height;
}

void SheetView::set_background_colour(ColorRef colour) {
  state_.background = colour;
}

void SheetView::redraw() {
  if (window_ != nullptr) {
    InvalidateRect(window_, nullptr, TRUE);
  }
}

SheetExtent SheetView::used_extent() const {
  return {state_.extent_width, state_.extent_height};
}

void SheetView::begin_page_load() {
  if (window_ != nullptr && !frozen_) {
    frozen_.emplace(window_);
  }
  drag_.forget_target();
}

void SheetView::end_page_load() {
  update_extent(true);
  frozen_.reset();
}

void SheetView::scroll(bool vertical, ScrollRequest request, std::int32_t thumb) {
  if (window_ == nullptr) {
    return;
  }
  scroller_.scroll(vertical, request, thumb);
  update_extent(true);
}

void SheetView::scroll_wheel(std::int32_t wheel_delta) {
  if (window_ == nullptr) {
    return;
  }
  scroller_.scroll_wheel(wheel_delta);
  update_extent(true);
}

void SheetView::set_zoom(std::int32_t zoom_sixteenths) {
  if (zoom_sixteenths <= 0) {
    return;
  }
  state_.zoom = zoom_sixteenths;
  drag_.forget_target();
  std::vector<EntryMove> kept;
  for (const ImageEntry& entry : project_.images.entries()) {
    kept.push_back({&entry, clamp_sheet_position(entry.x, entry.width),
                    clamp_sheet_position(entry.y, entry.height)});
  }
  project_.images.keep_on_sheet(kept);
  scroller_.refresh_scroll_bars();
  redraw();
}

const ImageEntry* SheetView::add_image(std::string_view path, PlacementCursor* cursor) {
  if (window_ == nullptr) {
    return nullptr;
  }
  RECT rect{};
  GetWindowRect(window_, &rect);
  OpenImageRequest request;
  request.path = path;
  request.project_folder = project_.folder;
  request.cursor = cursor;
  request.view = {state_.sheet_width,
                  visible_right_edge(rect.right - rect.left, scroller_.vertical_bar_width(),
                                     state_.zoom, state_.scroll_x),
                  state_.extent_width};
  request.decoders = decoders_;
  request.colour_list = &state_.colours;
  request.display_factory = this;
  return project_.images.add(request);
}

void SheetView::page_changed(const PageChange& change) {
  if (change.kind == PageChangeKind::Removed || change.kind == PageChangeKind::Cleared) {
    for (const EntryChange& item : change.entries) {
      drag_.forget_target(*item.entry);
    }
  }
  invalidate_change(change);
  // Status part 1 describes the entry whose selection changed last.
  if (change.kind == PageChangeKind::SelectionChanged && !change.entries.empty()) {
    const ImageEntry& last = *change.entries.back().entry;
    host_.set_status_text(kEntryStatusPart,
                          last.selected ? entry_status_text(last) : std::string());
  }
}

void SheetView::invalidate_sheet_rect(std::int32_t x, std::int32_t y, std::int32_t width,
                                      std::int32_t height) {
  const ViewRect rect =
      entry_view_rect({x, y, width, height}, state_.scroll_x, state_.scroll_y, state_.zoom);
  // One pixel more each way: the selection outline's pen and the rounding of
  // the corners below 100 %.
  const RECT area{rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1};
  InvalidateRect(window_, &area, FALSE);
}

void SheetView::invalidate_change(const PageChange& change) {
  // Past this many entries one repaint of the view is cheaper than the
  // region of their rectangles.
  constexpr std::size_t kEntriesPaintedApart = 32;
  if (window_ == nullptr) {
    return;
  }
  if (change.kind == PageChangeKind::Loaded || change.kind == PageChangeKind::Cleared ||
      change.entries.size() > kEntriesPaintedApart) {
    redraw();
    return;
  }
  for (const EntryChange& item : change.entries) {
    const ImageEntry& entry = *item.entry;
    invalidate_sheet_rect(entry.x, entry.y, entry.width, entry.height);
    if (change.kind == PageChangeKind::Moved || change.kind == PageChangeKind::KeptOnSheet) {
      invalidate_sheet_rect(item.x_before, item.y_before, entry.width, entry.height);
    }
  }
}

void SheetView::delete_selected() {
  RedrawLock lock(window_);
  project_.images.remove_selected();
}

void SheetView::delete_all() {
  drag_.forget_target();
  project_.images.clear();
}

void SheetView::free_all() {
  drag_.forget_target();
  project_.images.clear();
}

std::unique_ptr<EntryDisplay> SheetView::create_display(ImageEntry& entry, const Dib& picture) {
  static_cast<void>(entry);
  return EntryPicture::create(picture);
}

std::unique_ptr<EntryDisplay> SheetView::create_placeholder_display(ImageEntry& entry) {
  static_cast<void>(entry);
  return EntryPicture::create_placeholder();
}

void SheetView::paint_view() {
  PaintDc dc(window_);
  if (!dc) {
    return;
  }
  const RECT& update = dc.paint().rcPaint;
  if (update.right <= update.left || update.bottom <= update.top) {
    return;
  }
  RECT client{};
  GetClientRect(window_, &client);
  // Drawn off screen and shown in one copy; straight onto the screen when
  // there is no memory for the copy.
  const HDC buffer = back_buffer_.prepare(dc.get(), client.right, client.bottom);
  const HDC target = buffer != nullptr ? buffer : dc.get();
  paint_sheet(target, update, state_);
  paint_entries(target, update, state_, project_.images.entries());
  rubber_.paint(target);
  if (buffer != nullptr) {
    back_buffer_.show(dc.get(), update);
  }
}

void SheetView::press(UINT message, LPARAM lparam) {
  const DragPoint point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  const ImageEntry* entry = drag_.entry_at(point);
  if (entry == nullptr) {
    // A second click on empty sheet is a click like the first.
    rubber_.enter(point.x, point.y);
  } else if (message == WM_LBUTTONDBLCLK) {
    drag_.double_clicked(*entry, point);
  } else {
    // Ctrl as the input queue had it when the press was taken from it.
    drag_.enter(*entry, point, GetKeyState(VK_CONTROL) < 0);
  }
}

void SheetView::mouse_moved(LPARAM lparam) {
  if (drag_.active()) {
    drag_.mouse({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  } else {
    rubber_.mouse(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
  }
}

void SheetView::released(LPARAM lparam) {
  if (drag_.active()) {
    drag_.leave({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  } else {
    rubber_.leave(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
  }
}

LRESULT SheetView::handle_message(SheetView& view, HWND window, UINT message, WPARAM wparam,
                                  LPARAM lparam) {
  if (message == WM_NCCREATE) {
    // The view handles messages from here on, before CreateWindowExW returns.
    view.window_ = window;
  }
  if (message == WM_NCDESTROY) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return view.handle_view_message(window, message, wparam, lparam);
}

LRESULT SheetView::handle_view_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint_view();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      update_extent(true);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (const auto request = scroll_request_of(LOWORD(wparam))) {
        scroll(message == WM_VSCROLL, *request, scroller_.thumb_position(message));
      }
      return 0;
    case WM_MOUSEWHEEL:
      scroll_wheel(GET_WHEEL_DELTA_WPARAM(wparam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      press(message, lparam);
      return 0;
    case WM_MOUSEMOVE:
      mouse_moved(lparam);
      return 0;
    case WM_LBUTTONUP:
      released(lparam);
      return 0;
    case WM_CAPTURECHANGED:
      drag_.capture_changed(reinterpret_cast<HWND>(lparam));
      rubber_.capture_changed(reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_ESCAPE && drag_.active()) {
        drag_.cancel();
        return 0;
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_DESTROY:
      // The entries keep their records and pictures until they are dropped.
      frozen_.reset();
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace piconel
