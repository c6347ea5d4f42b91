#include "canvas/entry_window_win32.h"

#include <string>

#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "image/dib_bitmap_win32.h"
#include "store/cp932.h"
#include "store/wide_text.h"

namespace piconel {

namespace {

// How a placeholder is marked: a pale red box with a red frame and cross.
constexpr COLORREF kPlaceholderFill = RGB(255, 228, 228);
constexpr COLORREF kPlaceholderInk = RGB(200, 0, 0);

}  // namespace

std::unique_ptr<EntryWindow> EntryWindow::create(HWND view, ImageEntry& entry,
                                                 const SheetViewState& state,
                                                 EntryWindowInput& input, const Dib* picture) {
  if (view == nullptr) {
    return nullptr;
  }
  std::unique_ptr<EntryWindow> display(new EntryWindow(entry, state, input));
  if (picture != nullptr && !display->picture_.hold(create_device_bitmap(*picture, view))) {
    return nullptr;
  }
  const ViewRect place =
      entry_view_rect(sheet_rect_of(entry), state.scroll_x, state.scroll_y, state.zoom);
  display->window_.reset(
      CreateWindowExW(0, kEntryWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                      place.left, place.top, place.right - place.left, place.bottom - place.top,
                      view, nullptr, GetModuleHandleW(nullptr), &entry));
  if (!display->window_) {
    return nullptr;
  }
  BringWindowToTop(display->window_.get());
  return display;
}

EntryWindow::~EntryWindow() {
  if (window_) {
    // The window outlives the entry record by a few messages while it is
    // destroyed; they must not reach the record.
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
}

EntryWindow* entry_window(const ImageEntry& entry) {
  return dynamic_cast<EntryWindow*>(entry.display.get());
}

LRESULT EntryWindow::handle_message(ImageEntry& entry, HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
  EntryWindow* display = entry_window(entry);
  if (display == nullptr) {
    // While CreateWindowExW makes it, the entry has no display yet.
    return DefWindowProcW(window, message, wparam, lparam);
  }
  EntryWindow& self = *display;
  switch (message) {
    case WM_NCHITTEST:
      // Every point is caption: the window system moves entry windows.
      return HTCAPTION;
    case WM_NCLBUTTONDOWN:
      return self.input_.entry_pressed(window, self.entry_, wparam, lparam);
    case WM_NCLBUTTONDBLCLK:
      self.input_.entry_double_clicked(self.entry_, lparam);
      return 0;
    case WM_MOVING:
      if (self.input_.entry_moving(self.entry_, *reinterpret_cast<RECT*>(lparam))) {
        return TRUE;
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_MOVE:
      self.input_.entry_moved(window, self.entry_);
      return 0;
    case WM_PAINT:
      self.paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

void EntryWindow::paint(HWND window) const {
  PaintDc dc(window);
  if (!dc) {
    return;
  }
  const RECT& update = dc.paint().rcPaint;
  const std::int32_t view_width = sheet_length_to_view(entry_.width, state_.zoom);
  const std::int32_t view_height = sheet_length_to_view(entry_.height, state_.zoom);
  if (entry_.placeholder) {
    paint_placeholder(dc.get(), view_width, view_height);
  } else if (picture_) {
    const EntryBlit blit =
        entry_blit({update.left, update.top, update.right, update.bottom}, state_.zoom);
    SetStretchBltMode(dc.get(), COLORONCOLOR);
    StretchBlt(dc.get(), blit.destination.x, blit.destination.y, blit.destination.width,
               blit.destination.height, picture_.dc(), blit.source.x, blit.source.y,
               blit.source.width, blit.source.height, SRCCOPY);
  }
  if (entry_.selected) {
    GdiPen dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SelectGuard pen_guard(dc.get(), dots.get());
    SelectGuard brush_guard(dc.get(), GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc.get(), 0, 0, view_width, view_height);
  }
}

// A clearly marked box with the missing file's name.
void EntryWindow::paint_placeholder(HDC dc, std::int32_t view_width,
                                    std::int32_t view_height) const {
  const RECT box{0, 0, view_width, view_height};
  GdiBrush fill_brush(CreateSolidBrush(kPlaceholderFill));
  if (fill_brush) {
    FillRect(dc, &box, fill_brush.get());
  }
  GdiPen ink(CreatePen(PS_SOLID, 1, kPlaceholderInk));
  SelectGuard pen_guard(dc, ink.get());
  SelectGuard brush_guard(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, 0, 0, view_width, view_height);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, view_width, view_height);
  MoveToEx(dc, view_width - 1, 0, nullptr);
  LineTo(dc, -1, view_height);
  const PathParts parts = split_path(entry_.path);
  std::wstring name = to_wide(parts.name + parts.extension);
  SelectGuard font_guard(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kPlaceholderInk);
  RECT text_box{2, 2, view_width - 2, view_height - 2};
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text_box,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
}

}  // namespace piconel
