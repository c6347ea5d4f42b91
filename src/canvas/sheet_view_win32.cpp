#include "canvas/sheet_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "canvas/scroll_request_win32.h"
#include "canvas/window_dpi_win32.h"
#include "image/dib_bitmap_win32.h"
#include "project/project_file.h"
#include "project/used_extent.h"
#include "store/cp932.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

constexpr wchar_t kViewClass[] = L"client";
constexpr wchar_t kEntryClass[] = L"child";
// How a placeholder is marked: a pale red box with a red frame and cross.
constexpr COLORREF kPlaceholderFill = RGB(255, 228, 228);
constexpr COLORREF kPlaceholderInk = RGB(200, 0, 0);

// An entry's window, and for a loaded image the memory DC holding the
// screen copy of its picture. Members are released in reverse order: the
// destructor puts the DC's first bitmap back, then the DC, the bitmap and the
// window go.
class EntryWindow final : public EntryDisplay {
 public:
  ~EntryWindow() override {
    if (dc && previous != nullptr) {
      SelectObject(dc.get(), previous);
    }
    if (window) {
      // The window outlives the entry record by a few messages while it is
      // destroyed; they must not reach the record.
      SetWindowLongPtrW(window.get(), GWLP_USERDATA, 0);
    }
  }

  OwnedWindow window;
  GdiBitmap bitmap;
  MemoryDc dc;
  HGDIOBJ previous = nullptr;
};

EntryWindow* entry_window(const ImageEntry& entry) {
  return dynamic_cast<EntryWindow*>(entry.display.get());
}

void fill(HDC dc, const ViewRect& rect, HBRUSH brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) {
    return;
  }
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc, &area, brush);
}

// Marks the view as moving entry windows itself while it lives.
class MovingWindows {
 public:
  explicit MovingWindows(bool& flag) : flag_(flag), outer_(flag) { flag_ = true; }
  ~MovingWindows() { flag_ = outer_; }
  MovingWindows(const MovingWindows&) = delete;
  MovingWindows& operator=(const MovingWindows&) = delete;

 private:
  bool& flag_;
  bool outer_;
};

// The thumb's position at the end of a thumb drag, from the scroll bar
// itself: the message's 16-bit word wraps past view pixel 65535 (a wide
// sheet at "x 4" or "x 8").
std::int32_t thumb_track_position(HWND view, UINT message) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  if (!GetScrollInfo(view, message == WM_VSCROLL ? SB_VERT : SB_HORZ, &info)) {
    return 0;
  }
  return info.nTrackPos;
}

SheetView* view_of(HWND window) {
  return reinterpret_cast<SheetView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK view_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  return window_procedure_boundary(window, message, wparam, lparam, [&]() -> LRESULT {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    SheetView* view = view_of(window);
    if (view == nullptr) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == WM_NCCREATE) {
      // The view handles messages from here on, before CreateWindowExW returns.
      view->attach(window);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wparam, lparam);
    }
    return view->handle_view_message(message, wparam, lparam);
  });
}

LRESULT CALLBACK entry_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  return window_procedure_boundary(window, message, wparam, lparam, [&]() -> LRESULT {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* entry = reinterpret_cast<ImageEntry*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    SheetView* view = view_of(GetParent(window));
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    if (entry == nullptr || view == nullptr || message == WM_NCDESTROY) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    return view->handle_entry_message(window, *entry, message, wparam, lparam);
  });
}

bool register_class(const wchar_t* name, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) {
    return true;
  }
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // Both classes paint every pixel themselves.
  window_class.hbrBackground = nullptr;
  window_class.lpszClassName = name;
  return RegisterClassExW(&window_class) != 0;
}

}  // namespace

RedrawLock::RedrawLock(HWND window) : window_(window) {
  if (window_ != nullptr) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
}

RedrawLock::~RedrawLock() {
  if (window_ != nullptr) {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

SheetView::~SheetView() {
  project_.images.unsubscribe(*this);
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

bool SheetView::create(HWND parent, const RECT& rect) {
  if (!register_class(kViewClass, view_procedure) ||
      !register_class(kEntryClass, entry_procedure)) {
    return false;
  }
  reset_sheet_view();
  const int dpi = window_dpi(parent);
  vertical_bar_width_ = system_metric_for_dpi(SM_CXVSCROLL, dpi);
  horizontal_bar_height_ = system_metric_for_dpi(SM_CYHSCROLL, dpi);
  const HWND window = CreateWindowExW(
      0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL,
      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
      GetModuleHandleW(nullptr), this);
  window_ = window;
  if (window_ == nullptr) {
    return false;
  }
  GetWindowRect(window_, &screen_rect_);
  update_extent(true);
  return true;
}

void SheetView::set_dpi(int dpi) {
  vertical_bar_width_ = system_metric_for_dpi(SM_CXVSCROLL, dpi);
  horizontal_bar_height_ = system_metric_for_dpi(SM_CYHSCROLL, dpi);
  if (window_ != nullptr) {
    update_extent(true);
  }
}

void SheetView::reset_sheet_view() {
  state_.reset_page();
  rubber_ = Rubber{};
  drag_.target = nullptr;
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
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    frozen_ = true;
  }
  drag_.target = nullptr;
}

void SheetView::end_page_load() {
  update_extent(true);
  if (frozen_) {
    frozen_ = false;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void SheetView::update_extent(bool force) {
  const SheetExtent extent = compute_used_extent(project_.images.entries());
  const bool changed = extent.width != state_.extent_width || extent.height != state_.extent_height;
  state_.extent_width = extent.width;
  state_.extent_height = extent.height;
  if (force || changed) {
    host_.set_status_text(kSummaryStatusPart,
                          page_summary_text(state_.extent_width, state_.extent_height,
                                            state_.colours.count, project_.images.count()));
    refresh_scroll_bars();
  }
}

std::int32_t SheetView::visible_width() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return visible_sheet_size(rect.right - rect.left, vertical_bar_width_, state_.zoom);
}

std::int32_t SheetView::visible_height() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return visible_sheet_size(rect.bottom - rect.top, horizontal_bar_height_, state_.zoom);
}

void SheetView::apply_scroll(bool vertical, std::int32_t step) {
  if (step == 0) {
    return;
  }
  std::int32_t& position = vertical ? state_.scroll_y : state_.scroll_x;
  position += step;
  const int shift = sheet_length_to_view(-step, state_.zoom);
  {
    const MovingWindows moving(moving_windows_);
    ScrollWindowEx(window_, vertical ? 0 : shift, vertical ? shift : 0, nullptr, nullptr, nullptr,
                   nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  }
  // Below 100 % the truncated shift is not where each sheet position shows
  // now, and far shifts at high zoom go past the window system's 16-bit
  // coordinates: every window is put back on its own position, and the
  // sheet's edges are painted again where the shift was not exact.
  place_entry_windows();
  if (!view_shift_is_exact(step, state_.zoom)) {
    InvalidateRect(window_, nullptr, FALSE);
  }
}

void SheetView::refresh_scroll_bars() {
  if (window_ == nullptr) {
    return;
  }
  for (const bool vertical : {false, true}) {
    const std::int32_t visible = vertical ? visible_height() : visible_width();
    const std::int32_t extent = vertical ? state_.extent_height : state_.extent_width;
    const std::int32_t scroll = vertical ? state_.scroll_y : state_.scroll_x;
    if (std::int64_t{scroll} + visible > extent) {
      apply_scroll(vertical, limit_scroll(extent - visible, visible, extent) - scroll);
    }
    const ScrollBarState bar = scroll_bar_state(
        extent, visible, vertical ? state_.scroll_y : state_.scroll_x, state_.zoom);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    // Disabled rather than hidden when the whole extent is visible.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, bar.maximum);
    info.nPage = static_cast<UINT>(std::max(0, bar.page));
    info.nPos = bar.position;
    SetScrollInfo(window_, vertical ? SB_VERT : SB_HORZ, &info, TRUE);
  }
}

void SheetView::scroll(bool vertical, ScrollRequest request, std::int32_t thumb) {
  if (window_ == nullptr) {
    return;
  }
  const std::int32_t visible = vertical ? visible_height() : visible_width();
  const std::int32_t extent = vertical ? state_.extent_height : state_.extent_width;
  const std::int32_t current = vertical ? state_.scroll_y : state_.scroll_x;
  apply_scroll(vertical, scroll_step(request, current, visible, extent, thumb, state_.zoom));
  update_extent(true);
}

void SheetView::scroll_wheel(std::int32_t wheel_delta) {
  if (window_ == nullptr) {
    return;
  }
  apply_scroll(true,
               wheel_step(wheel_delta, state_.scroll_y, visible_height(), state_.extent_height));
  update_extent(true);
}

void SheetView::place_entry_window(const ImageEntry& entry, bool repaint) {
  const EntryWindow* display = entry_window(entry);
  if (display == nullptr || !display->window) {
    return;
  }
  const ViewRect wanted =
      entry_view_rect(sheet_rect_of(entry), state_.scroll_x, state_.scroll_y, state_.zoom);
  RECT now{};
  GetWindowRect(display->window.get(), &now);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&now), 2);
  if (now.left == wanted.left && now.top == wanted.top && now.right == wanted.right &&
      now.bottom == wanted.bottom) {
    return;
  }
  const MovingWindows moving(moving_windows_);
  MoveWindow(display->window.get(), wanted.left, wanted.top, wanted.right - wanted.left,
             wanted.bottom - wanted.top, repaint ? TRUE : FALSE);
}

void SheetView::place_entry_windows() {
  for (const ImageEntry& entry : project_.images.entries()) {
    place_entry_window(entry, true);
  }
}

void SheetView::set_zoom(std::int32_t zoom_sixteenths) {
  if (zoom_sixteenths <= 0) {
    return;
  }
  state_.zoom = zoom_sixteenths;
  {
    RedrawLock lock(window_);
    drag_.target = nullptr;
    std::vector<EntryMove> kept;
    for (const ImageEntry& entry : project_.images.entries()) {
      kept.push_back({&entry, clamp_sheet_position(entry.x, entry.width),
                      clamp_sheet_position(entry.y, entry.height)});
    }
    project_.images.keep_on_sheet(kept);
    for (const ImageEntry& entry : project_.images.entries()) {
      place_entry_window(entry, false);
    }
  }
  refresh_scroll_bars();
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
  request.view = {
      state_.sheet_width,
      visible_right_edge(rect.right - rect.left, vertical_bar_width_, state_.zoom, state_.scroll_x),
      state_.extent_width};
  request.decoders = decoders_;
  request.colour_list = &state_.colours;
  request.display_factory = this;
  return project_.images.add(request);
}

void SheetView::page_changed(const PageChange& change) {
  for (const EntryChange& item : change.entries) {
    const ImageEntry& entry = *item.entry;
    if (change.kind == PageChangeKind::SelectionChanged) {
      if (const EntryWindow* display = entry_window(entry); display != nullptr && display->window) {
        InvalidateRect(display->window.get(), nullptr, FALSE);
      }
      host_.set_status_text(kEntryStatusPart,
                            entry.selected ? entry_status_text(entry) : std::string());
    } else if ((change.kind == PageChangeKind::Removed || change.kind == PageChangeKind::Cleared) &&
               drag_.target == &entry) {
      drag_.target = nullptr;
    }
  }
}

void SheetView::select_entry(const ImageEntry& entry, bool on) {
  project_.images.set_selected(entry, on);
}

void SheetView::deselect_all_except(const ImageEntry* keep) {
  for (const ImageEntry& entry : project_.images.entries()) {
    if (&entry != keep) {
      select_entry(entry, false);
    }
  }
}

void SheetView::select_all() {
  for (const ImageEntry& entry : project_.images.entries()) {
    select_entry(entry, true);
  }
}

void SheetView::set_entry_selected(int index, bool on) {
  if (const ImageEntry* entry = project_.images.at(index)) {
    select_entry(*entry, on);
  }
}

void SheetView::delete_selected() {
  RedrawLock lock(window_);
  project_.images.remove_selected();
}

void SheetView::delete_all() {
  drag_.target = nullptr;
  project_.images.clear();
}

void SheetView::forget_entry_windows() {
  for (const ImageEntry& entry : project_.images.entries()) {
    if (EntryWindow* display = entry_window(entry); display != nullptr) {
      static_cast<void>(display->window.release());
    }
  }
}

void SheetView::free_all() {
  forget_entry_windows();
  drag_.target = nullptr;
  project_.images.clear();
}

namespace {

// The entry's window at its place on the view, on top of its siblings so a
// later entry covers an earlier one.
bool make_entry_window(HWND view, const SheetViewState& state, ImageEntry& entry,
                       EntryWindow& display) {
  const ViewRect place =
      entry_view_rect(sheet_rect_of(entry), state.scroll_x, state.scroll_y, state.zoom);
  display.window.reset(CreateWindowExW(0, kEntryClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                       place.left, place.top, place.right - place.left,
                                       place.bottom - place.top, view, nullptr,
                                       GetModuleHandleW(nullptr), &entry));
  if (!display.window) {
    return false;
  }
  BringWindowToTop(display.window.get());
  return true;
}

}  // namespace

std::unique_ptr<EntryDisplay> SheetView::create_display(ImageEntry& entry, const Dib& picture) {
  if (window_ == nullptr) {
    return nullptr;
  }
  auto display = std::make_unique<EntryWindow>();
  display->bitmap = create_device_bitmap(picture, window_);
  if (!display->bitmap) {
    return nullptr;
  }
  display->dc.reset(CreateCompatibleDC(nullptr));
  if (!display->dc) {
    return nullptr;
  }
  display->previous = SelectObject(display->dc.get(), display->bitmap.get());
  if (display->previous == nullptr || display->previous == HGDI_ERROR) {
    display->previous = nullptr;
    return nullptr;
  }
  if (!make_entry_window(window_, state_, entry, *display)) {
    return nullptr;
  }
  return display;
}

std::unique_ptr<EntryDisplay> SheetView::create_placeholder_display(ImageEntry& entry) {
  if (window_ == nullptr) {
    return nullptr;
  }
  auto display = std::make_unique<EntryWindow>();
  if (!make_entry_window(window_, state_, entry, *display)) {
    return nullptr;
  }
  return display;
}

void SheetView::paint_view() {
  PaintDc dc(window_);
  if (!dc) {
    return;
  }
  const RECT& update = dc.paint().rcPaint;
  const SheetPaintPlan plan =
      plan_sheet_paint({update.left, update.top, update.right, update.bottom},
                       sheet_edges(state_.sheet_width, state_.sheet_height, state_.scroll_x,
                                   state_.scroll_y, state_.zoom));
  fill(dc.get(), plan.right_of_sheet, GetSysColorBrush(COLOR_WINDOW));
  fill(dc.get(), plan.below_sheet, GetSysColorBrush(COLOR_WINDOW));
  {
    GdiBrush background(CreateSolidBrush(static_cast<COLORREF>(state_.background)));
    if (background) {
      fill(dc.get(), plan.sheet, background.get());
    }
  }
  if (rubber_.active) {
    GdiPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    SelectGuard pen_guard(dc.get(), pen.get());
    SelectGuard brush_guard(dc.get(), GetStockObject(HOLLOW_BRUSH));
    const ViewRect& r = rubber_.current;
    Rectangle(dc.get(), r.left, r.top, r.right, r.bottom);
    rubber_.last_drawn = r;
  }
}

void SheetView::paint_entry(HWND window, const ImageEntry& entry) const {
  PaintDc dc(window);
  if (!dc) {
    return;
  }
  const RECT& update = dc.paint().rcPaint;
  const std::int32_t view_width = sheet_length_to_view(entry.width, state_.zoom);
  const std::int32_t view_height = sheet_length_to_view(entry.height, state_.zoom);
  const EntryWindow* display = entry_window(entry);
  if (entry.placeholder) {
    // A clearly marked box with the missing file's name.
    const RECT box{0, 0, view_width, view_height};
    GdiBrush fill_brush(CreateSolidBrush(kPlaceholderFill));
    if (fill_brush) {
      FillRect(dc.get(), &box, fill_brush.get());
    }
    GdiPen ink(CreatePen(PS_SOLID, 1, kPlaceholderInk));
    SelectGuard pen_guard(dc.get(), ink.get());
    SelectGuard brush_guard(dc.get(), GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc.get(), 0, 0, view_width, view_height);
    MoveToEx(dc.get(), 0, 0, nullptr);
    LineTo(dc.get(), view_width, view_height);
    MoveToEx(dc.get(), view_width - 1, 0, nullptr);
    LineTo(dc.get(), -1, view_height);
    const PathParts parts = split_path(entry.path);
    std::wstring name = to_wide(parts.name + parts.extension);
    SelectGuard font_guard(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), kPlaceholderInk);
    RECT text_box{2, 2, view_width - 2, view_height - 2};
    DrawTextW(dc.get(), name.c_str(), static_cast<int>(name.size()), &text_box,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  } else if (display != nullptr && display->dc) {
    const EntryBlit blit =
        entry_blit({update.left, update.top, update.right, update.bottom}, state_.zoom);
    SetStretchBltMode(dc.get(), COLORONCOLOR);
    StretchBlt(dc.get(), blit.destination.x, blit.destination.y, blit.destination.width,
               blit.destination.height, display->dc.get(), blit.source.x, blit.source.y,
               blit.source.width, blit.source.height, SRCCOPY);
  }
  if (entry.selected) {
    GdiPen dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SelectGuard pen_guard(dc.get(), dots.get());
    SelectGuard brush_guard(dc.get(), GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc.get(), 0, 0, view_width, view_height);
  }
}

void SheetView::begin_rectangle(std::int32_t x, std::int32_t y) {
  SetFocus(window_);
  rubber_.active = true;
  rubber_.start_x = x;
  rubber_.start_y = y;
  rubber_.current = {x, y, x, y};
  rubber_.last_drawn = rubber_.current;
  SetCapture(window_);
}

void SheetView::drag_rectangle(std::int32_t x, std::int32_t y) {
  rubber_.current = span_rect(rubber_.start_x, rubber_.start_y, x, y);
  for (const ImageEntry& entry : project_.images.entries()) {
    select_entry(entry, centre_in_rect(entry.x, entry.y, entry.width, entry.height, state_.scroll_x,
                                       state_.scroll_y, state_.zoom, rubber_.current));
  }
  // The union of the new and the last drawn rectangle, pen included.
  const ViewRect& a = rubber_.current;
  const ViewRect& b = rubber_.last_drawn;
  const RECT dirty{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right) + 1,
                   std::max(a.bottom, b.bottom) + 1};
  InvalidateRect(window_, &dirty, FALSE);
}

void SheetView::end_rectangle(std::int32_t x, std::int32_t y) {
  rubber_.active = false;
  ReleaseCapture();
  if (x == rubber_.start_x && y == rubber_.start_y) {
    // A click on empty sheet.
    deselect_all_except(nullptr);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT SheetView::handle_view_message(UINT message, WPARAM wparam, LPARAM lparam) {
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
        scroll(message == WM_VSCROLL, *request, thumb_track_position(window_, message));
      }
      return 0;
    case WM_MOUSEWHEEL:
      scroll_wheel(GET_WHEEL_DELTA_WPARAM(wparam));
      return 0;
    case WM_LBUTTONDOWN:
      begin_rectangle(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_MOUSEMOVE:
      if (rubber_.active) {
        drag_rectangle(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      }
      return 0;
    case WM_LBUTTONUP:
      if (rubber_.active) {
        end_rectangle(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (rubber_.active && reinterpret_cast<HWND>(lparam) != window_) {
        rubber_.active = false;
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_DESTROY:
      // The system destroys the entry windows with the view; the entries
      // keep their records and bitmaps until they are dropped.
      forget_entry_windows();
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

LRESULT SheetView::handle_entry_message(HWND window, ImageEntry& entry, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  switch (message) {
    case WM_NCHITTEST:
      // Every point is caption: the window system moves entry windows.
      return HTCAPTION;
    case WM_NCLBUTTONDOWN:
      return press_entry(window, entry, wparam, lparam);
    case WM_NCLBUTTONDBLCLK:
      double_click_entry(entry, lparam);
      return 0;
    case WM_MOVING:
      if (move_loop_entry_ == &entry && move_entry_rect(entry, *reinterpret_cast<RECT*>(lparam))) {
        return TRUE;
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_MOVE:
      // Only the move loop's own moves are a drag: a scroll or the view
      // placing the window (even in the middle of a drag) changes no
      // position.
      if (move_loop_entry_ == &entry && !moving_windows_) {
        entry_moved(window, entry);
      }
      return 0;
    case WM_PAINT:
      paint_entry(window, entry);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace piconel
