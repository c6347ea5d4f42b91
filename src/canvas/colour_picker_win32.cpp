#include "canvas/colour_picker_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>

#include "canvas/colour_picker_model.h"
#include "canvas/scroll_request_win32.h"
#include "canvas/transparent_key.h"
#include "image/dib_bitmap_win32.h"
#include "image/load_image.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"
#include "window/memory_bitmap_win32.h"
#include "window/resource.h"
#include "window/window_class_win32.h"

namespace piconel {

namespace {

constexpr wchar_t kAreaClass[] = L"choicewin";

// The controls that follow the dialog's size, with how and where they
// started.
struct Follower {
  int id;
  Anchor anchor;
  ControlBox first;
};

struct Picker {
  DibColour picked = -1;
  // The file's own pixels (none when it could not be read) and their copy
  // for painting, a DIB section in a memory DC.
  std::optional<Dib> picture;
  MemoryBitmap picture_dc;
  HWND dialog = nullptr;
  // Child of control 1042; destroyed with the dialog.
  HWND area = nullptr;
  std::int32_t scroll_x = 0;
  std::int32_t scroll_y = 0;
  // The dialog's first window size is its minimum; its first client size
  // and the controls' first boxes anchor the layout.
  SIZE minimum{};
  SIZE first_client{};
  std::array<Follower, 4> followers{{
      {IDC_PICKER_FRAME, Anchor::Grow, {}},
      {IDC_PICKER_TEXT, Anchor::Bottom, {}},
      {IDOK, Anchor::BottomRight, {}},
      {IDCANCEL, Anchor::BottomRight, {}},
  }};
};

std::int32_t picture_width(const Picker& picker) {
  return picker.picture ? picker.picture->width : 0;
}
std::int32_t picture_height(const Picker& picker) {
  return picker.picture ? picker.picture->height : 0;
}

void show_picked_colour(const Picker& picker) {
  SetDlgItemTextW(picker.dialog, IDC_PICKER_TEXT,
                  to_wide(picked_colour_text(picker.picked)).c_str());
}

SIZE client_size(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The scroll bars for the area's client size; an origin that the size no
// longer allows comes back, and the contents move with it.
void refresh_scroll_bars(Picker& picker) {
  const SIZE visible = client_size(picker.area);
  for (const bool vertical : {false, true}) {
    std::int32_t& origin = vertical ? picker.scroll_y : picker.scroll_x;
    const PickerAxis axis =
        picker_axis(picker_extent(vertical ? picture_height(picker) : picture_width(picker)),
                    vertical ? visible.cy : visible.cx, origin);
    if (axis.origin != origin) {
      const int shift = origin - axis.origin;
      ScrollWindowEx(picker.area, vertical ? 0 : shift, vertical ? shift : 0, nullptr, nullptr,
                     nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
      origin = axis.origin;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    // Disabled rather than hidden, so the area's client size never changes
    // with the scroll position.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, axis.bar.maximum);
    info.nPage = static_cast<UINT>(std::max(0, axis.bar.page));
    info.nPos = axis.bar.position;
    SetScrollInfo(picker.area, vertical ? SB_VERT : SB_HORZ, &info, TRUE);
  }
}

void scroll_area(Picker& picker, bool vertical, ScrollRequest request) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  // The 32-bit thumb position: the message's 16 bits end at 65535, and an
  // area of 4 x 32768 pixels goes beyond.
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(picker.area, vertical ? SB_VERT : SB_HORZ, &info);
  const SIZE visible = client_size(picker.area);
  std::int32_t& origin = vertical ? picker.scroll_y : picker.scroll_x;
  const std::int32_t step =
      scroll_step(request, origin, vertical ? visible.cy : visible.cx,
                  picker_extent(vertical ? picture_height(picker) : picture_width(picker)),
                  info.nTrackPos, kZoomUnit);
  if (step != 0) {
    origin += step;
    ScrollWindowEx(picker.area, vertical ? 0 : -step, vertical ? -step : 0, nullptr, nullptr,
                   nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  }
  refresh_scroll_bars(picker);
}

void paint_area(const Picker& picker) {
  PaintDc paint(picker.area);
  if (!paint || !picker.picture_dc) {
    return;
  }
  const EntryBlit blit =
      picker_blit(picker.scroll_x, picker.scroll_y, picture_width(picker), picture_height(picker));
  StretchBlt(paint.get(), blit.destination.x, blit.destination.y, blit.destination.width,
             blit.destination.height, picker.picture_dc.dc(), blit.source.x, blit.source.y,
             blit.source.width, blit.source.height, SRCCOPY);
}

void pick_at(Picker& picker, std::int32_t client_x, std::int32_t client_y) {
  const auto point = pixel_under_click(client_x, client_y, picker.scroll_x, picker.scroll_y,
                                       picture_width(picker), picture_height(picker));
  if (!point) {
    return;
  }
  picker.picked = picker.picture->pixel(point->x, point->y) & 0xFFFFFF;
  show_picked_colour(picker);
}

LRESULT handle_area_message(Picker& picker, HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint_area(picker);
      return 0;
    case WM_SIZE:
      refresh_scroll_bars(picker);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (const auto request = scroll_request_of(LOWORD(wparam))) {
        scroll_area(picker, message == WM_VSCROLL, *request);
      }
      return 0;
    case WM_LBUTTONDOWN:
      pick_at(picker, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool register_area_class() {
  return register_window_class({.name = kAreaClass,
                                .procedure = bound_window_procedure<Picker, handle_area_message>,
                                .style = CS_HREDRAW | CS_VREDRAW,
                                .background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))});
}

ControlBox box_in_client(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void lay_out(Picker& picker) {
  const SIZE client = client_size(picker.dialog);
  for (const Follower& follower : picker.followers) {
    const ControlBox box = anchored_box(follower.first, follower.anchor, picker.first_client.cx,
                                        picker.first_client.cy, client.cx, client.cy);
    MoveWindow(GetDlgItem(picker.dialog, follower.id), box.left, box.top, box.width, box.height,
               TRUE);
  }
  const SIZE frame = client_size(GetDlgItem(picker.dialog, IDC_PICKER_FRAME));
  MoveWindow(picker.area, 0, 0, frame.cx, frame.cy, TRUE);
}

void start(Picker& picker, HWND dialog) {
  picker.dialog = dialog;
  RECT window{};
  GetWindowRect(dialog, &window);
  picker.minimum = {window.right - window.left, window.bottom - window.top};
  picker.first_client = client_size(dialog);
  for (Follower& follower : picker.followers) {
    follower.first = box_in_client(dialog, GetDlgItem(dialog, follower.id));
  }
  show_picked_colour(picker);
  const HWND frame = GetDlgItem(dialog, IDC_PICKER_FRAME);
  const SIZE frame_size = client_size(frame);
  if (register_area_class()) {
    picker.area = CreateWindowExW(
        0, kAreaClass, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, frame_size.cx,
        frame_size.cy, frame, nullptr, GetModuleHandleW(nullptr), &picker);
  }
  if (picker.area != nullptr) {
    refresh_scroll_bars(picker);
  }
}

INT_PTR handle_picker_message(Picker& picker, HWND dialog, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      start(picker, dialog);
      // The default focus: the OK button.
      return TRUE;
    case WM_GETMINMAXINFO:
      if (picker.minimum.cx > 0) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize = {picker.minimum.cx, picker.minimum.cy};
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      if (picker.area != nullptr) {
        lay_out(picker);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The picture copy for painting; nothing when the file was unreadable or
// GDI refuses (the area then stays white and clicks still pick).
void make_picture_dc(Picker& picker) {
  if (!picker.picture) {
    return;
  }
  static_cast<void>(picker.picture_dc.hold(create_dib_section(*picker.picture)));
}

}  // namespace

bool pick_transparent_colour(HWND owner, const ImageEntry& entry, std::int32_t& key,
                             const PictureDecoder* decoders) {
  Picker picker;
  picker.picked = key >= 0 ? key_to_colour(entry, key) : -1;
  LoadImageRequest request;
  request.path = entry.path;
  request.decoders = decoders;
  picker.picture = load_image(request);
  make_picture_dc(picker);
  const INT_PTR result = DialogBoxParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_COLOUR_PICKER), owner,
      bound_dialog_procedure<Picker, handle_picker_message>, reinterpret_cast<LPARAM>(&picker));
  if (result != IDOK) {
    return false;
  }
  key = colour_to_key(entry, picker.picked);
  return true;
}

}  // namespace piconel
