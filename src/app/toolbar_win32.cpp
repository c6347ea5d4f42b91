#include "app/toolbar_win32.h"

#include <commctrl.h>

#include <array>
#include <utility>

#include "app/dpi_scale.h"
#include "canvas/sheet_geometry.h"
#include "window/resource.h"
#include "window/window_dpi_win32.h"

namespace piconel {

namespace {

constexpr int kZoomBoxItem = 6;
constexpr int kZoomBoxWidth = 50;
constexpr int kZoomBoxHeight = 140;
// The zoom box sits 2 pixels above its item's top.
constexpr int kZoomBoxRaise = 2;
constexpr int kStatusPart0End = 160;
constexpr int kToolbarImages = 4;

TBBUTTON button(int image, int command, BYTE style) {
  TBBUTTON item{};
  item.iBitmap = image;
  item.idCommand = command;
  item.fsState = TBSTATE_ENABLED;
  item.fsStyle = style;
  return item;
}

// A separator; `width` 0 takes the default width.
TBBUTTON separator(int width = 0) {
  TBBUTTON item{};
  item.iBitmap = width;
  item.fsStyle = BTNS_SEP;
  return item;
}

bool create_toolbar(HWND main_window, HINSTANCE instance, MainWindowControls& controls) {
  const HWND toolbar =
      CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0,
                      0, 0, main_window, reinterpret_cast<HMENU>(0), instance, nullptr);
  if (toolbar == nullptr) {
    return false;
  }
  controls.toolbar = toolbar;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  const auto standard_first =
      static_cast<int>(SendMessageW(toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard)));
  const std::array first_items = {
      button(standard_first + STD_FILENEW, IDM_PROJECT_NEW, BTNS_BUTTON),
      button(standard_first + STD_FILEOPEN, IDM_PROJECT_OPEN, BTNS_BUTTON),
      button(standard_first + STD_FILESAVE, IDM_PROJECT_SAVE, BTNS_BUTTON),
      separator(),
  };
  SendMessageW(toolbar, TB_ADDBUTTONSW, first_items.size(),
               reinterpret_cast<LPARAM>(first_items.data()));

  // The four images of resource 102 with the 3-D colours mapped to the
  // system's.
  controls.toolbar_images.reset(CreateMappedBitmap(instance, IDB_TOOLBAR, 0, nullptr, 0));
  int own_first = 0;
  if (controls.toolbar_images) {
    TBADDBITMAP own{nullptr, reinterpret_cast<UINT_PTR>(controls.toolbar_images.get())};
    own_first = static_cast<int>(
        SendMessageW(toolbar, TB_ADDBITMAP, kToolbarImages, reinterpret_cast<LPARAM>(&own)));
  }
  const std::array more_items = {
      button(own_first + 0, IDM_ADD_IMAGE, BTNS_BUTTON),
      separator(),
      separator(kZoomBoxWidth),  // covered by the zoom box
      separator(),
      button(own_first + 1, IDM_PAGE_LIST, BTNS_CHECK),
      button(own_first + 2, IDM_IMAGE_LIST, BTNS_CHECK),
      separator(),
      button(own_first + 3, IDM_OUTPUT, BTNS_BUTTON),
      separator(),
      separator(),
  };
  SendMessageW(toolbar, TB_ADDBUTTONSW, more_items.size(),
               reinterpret_cast<LPARAM>(more_items.data()));
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  return true;
}

// The zoom box over toolbar item 6: the item's left and width, 2 pixels
// (at 100 %) above its top.
void place_zoom_box(const MainWindowControls& controls) {
  RECT item{};
  SendMessageW(controls.toolbar, TB_GETITEMRECT, kZoomBoxItem, reinterpret_cast<LPARAM>(&item));
  SetWindowPos(controls.zoom_box, nullptr, item.left,
               item.top - scale_for_dpi(kZoomBoxRaise, controls.dpi), item.right - item.left,
               scale_for_dpi(kZoomBoxHeight, controls.dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

bool create_zoom_box(HINSTANCE instance, MainWindowControls& controls) {
  const HWND box = CreateWindowExW(
      0, L"COMBOBOX", nullptr,
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWNLIST, 0, 0, kZoomBoxWidth,
      kZoomBoxHeight, controls.toolbar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ZOOM_BOX)),
      instance, nullptr);
  if (box == nullptr) {
    return false;
  }
  controls.zoom_box = box;
  for (const ZoomStep& step : kZoomSteps) {
    const std::wstring text(step.text.begin(), step.text.end());
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, kStartZoomStep, 0);
  return true;
}

bool create_status_bar(HWND main_window, HINSTANCE instance, MainWindowControls& controls) {
  const HWND status = CreateWindowExW(
      0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
      main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), instance,
      nullptr);
  if (status == nullptr) {
    return false;
  }
  controls.status_bar = status;
  return true;
}

int height_of(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

int list_command(ListWindowKind kind) {
  return kind == ListWindowKind::PageList ? IDM_PAGE_LIST : IDM_IMAGE_LIST;
}

}  // namespace

bool create_main_controls(HWND main_window, HINSTANCE instance, MainWindowControls& controls) {
  INITCOMMONCONTROLSEX init{};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_BAR_CLASSES;
  InitCommonControlsEx(&init);
  if (!create_toolbar(main_window, instance, controls) || !create_zoom_box(instance, controls) ||
      !create_status_bar(main_window, instance, controls)) {
    return false;
  }
  apply_controls_dpi(controls, window_dpi(main_window));
  SendMessageW(controls.toolbar, TB_AUTOSIZE, 0, 0);
  SendMessageW(controls.status_bar, WM_SIZE, 0, 0);
  measure_control_heights(controls);
  return true;
}

void apply_controls_dpi(MainWindowControls& controls, int dpi) {
  controls.dpi = dpi;
  LOGFONTW font{};
  if (message_font_for_dpi(dpi, font)) {
    GdiFont made(CreateFontIndirectW(&font));
    if (made) {
      // The controls let go of the old font before it is deleted.
      for (const HWND control : {controls.zoom_box, controls.status_bar}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
      }
      controls.ui_font = std::move(made);
    }
  }
  TBBUTTONINFOW item{};
  item.cbSize = sizeof(item);
  item.dwMask = TBIF_SIZE | TBIF_BYINDEX;
  item.cx = static_cast<WORD>(scale_for_dpi(kZoomBoxWidth, dpi));
  SendMessageW(controls.toolbar, TB_SETBUTTONINFOW, kZoomBoxItem, reinterpret_cast<LPARAM>(&item));
  SendMessageW(controls.toolbar, TB_AUTOSIZE, 0, 0);
  place_zoom_box(controls);
  const std::array<int, 2> part_ends = {scale_for_dpi(kStatusPart0End, dpi), -1};
  SendMessageW(controls.status_bar, SB_SETPARTS, part_ends.size(),
               reinterpret_cast<LPARAM>(part_ends.data()));
}

void measure_control_heights(MainWindowControls& controls) {
  controls.toolbar_height = height_of(controls.toolbar);
  controls.status_bar_height = height_of(controls.status_bar);
}

bool list_button_pressed(const MainWindowControls& controls, ListWindowKind kind) {
  return controls.toolbar != nullptr &&
         SendMessageW(controls.toolbar, TB_ISBUTTONCHECKED, list_command(kind), 0) != 0;
}

int selected_zoom_step(const MainWindowControls& controls) {
  if (controls.zoom_box == nullptr) {
    return -1;
  }
  return static_cast<int>(SendMessageW(controls.zoom_box, CB_GETCURSEL, 0, 0));
}

void apply_zoom_step(App& app, int index) {
  if (index < 0 || index >= static_cast<int>(kZoomSteps.size())) {
    return;
  }
  if (app.controls.zoom_box != nullptr) {
    SendMessageW(app.controls.zoom_box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  app.sheet_view.set_zoom(kZoomSteps[static_cast<std::size_t>(index)].sixteenths);
}

}  // namespace piconel
