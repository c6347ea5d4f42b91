#include "app/app_window_win32.h"

#include <shellapi.h>

#include <algorithm>

#include "app/close_sequence_win32.h"
#include "app/command_actions_win32.h"
#include "app/command_message_win32.h"
#include "app/commands_win32.h"
#include "app/notify_routes_win32.h"
#include "app/toolbar_win32.h"
#include "project/current_page.h"
#include "project/project_file.h"
#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"
#include "store/wide_text.h"
#include "window/busy_scope_win32.h"
#include "window/resource.h"
#include "window/window_class_win32.h"

namespace piconel {
namespace {

constexpr int kMainWindowSize = 512;
constexpr int kMinimumTrackSize = 64;

void limit_tracking_size(LPARAM lparam) {
  auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
  limits->ptMinTrackSize.x = kMinimumTrackSize;
  limits->ptMinTrackSize.y = kMinimumTrackSize;
}

// The first WM_GETMINMAXINFO comes before WM_NCCREATE, with no App bound.
LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam) noexcept {
  if (message == WM_GETMINMAXINFO) {
    limit_tracking_size(lparam);
    return 0;
  }
  return bound_window_procedure<App, handle_main_window_message>(window, message, wparam, lparam);
}

void resize(App& app, WPARAM wparam, LPARAM lparam) {
  // The toolbar and the status bar place themselves.
  if (app.controls.toolbar != nullptr) {
    SendMessageW(app.controls.toolbar, WM_SIZE, wparam, lparam);
  }
  if (app.controls.status_bar != nullptr) {
    SendMessageW(app.controls.status_bar, WM_SIZE, wparam, lparam);
  }
  layout_main_window(app, LOWORD(lparam), HIWORD(lparam));
}

// Moved to a monitor of another scale: the window takes the rectangle the
// system suggests, and its controls, fonts and scroll bar sizes follow the
// new DPI. The sheet is not scaled: at "x 1" an image pixel stays one
// screen pixel.
void dpi_changed(App& app, HWND window, int dpi, const RECT& suggested) {
  if (app.controls.toolbar != nullptr) {
    apply_controls_dpi(app.controls, dpi);
  }
  app.sheet_view.set_dpi(dpi);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The new fonts change the bars' heights, which they take on their next
  // WM_SIZE: pass the size on, measure them, and place the view between.
  RECT client{};
  GetClientRect(window, &client);
  resize(app, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  if (app.controls.toolbar != nullptr) {
    measure_control_heights(app.controls);
  }
  layout_main_window(app, client.right, client.bottom);
}

void close_request(App& app, HWND window) {
  if (program_busy()) {
    defer_close_request(window);
    return;
  }
  BusyScope busy;
  static_cast<void>(close_main_window(window, app));
  // Requests that came while the question was shown are answered by it.
  forget_close_request();
}

LRESULT query_end_session(App& app) {
  if (program_busy()) {
    return FALSE;
  }
  BusyScope busy;
  return ask_save_changes(app.project) ? TRUE : FALSE;
}

}  // namespace

bool register_main_window_class(HINSTANCE instance) {
  return register_window_class({.name = kMainWindowClass,
                                .procedure = main_window_procedure,
                                .instance = instance,
                                .style = CS_BYTEALIGNWINDOW,
                                .icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PICONEL)),
                                .menu = MAKEINTRESOURCEW(IDR_MAIN_MENU)});
}

HWND create_main_window(App& app, HINSTANCE instance, std::string_view title) {
  const std::wstring wide_title = to_wide(title);
  HWND window = CreateWindowExW(0, kMainWindowClass, wide_title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                kMainWindowSize, kMainWindowSize, nullptr, nullptr, instance, &app);
  if (window == nullptr) {
    return nullptr;
  }
  app.set_main_window(window);
  // Children in their order: toolbar with the zoom box, status bar, then the
  // sheet view between them.
  if (create_main_controls(window, instance, app.controls)) {
    RECT client{};
    GetClientRect(window, &client);
    const RECT view{0, app.controls.toolbar_height, client.right,
                    client.bottom - app.controls.status_bar_height};
    static_cast<void>(app.sheet_view.create(window, view));
    layout_main_window(app, client.right, client.bottom);
  }
  DragAcceptFiles(window, TRUE);
  load_current_page(app.project);
  app.sheet_view.update_extent(true);
  return window;
}

void layout_main_window(App& app, int client_width, int client_height) {
  const MainWindowControls& controls = app.controls;
  const HWND view = app.sheet_view.window();
  if (view == nullptr) {
    return;
  }
  const int height = client_height - controls.toolbar_height - controls.status_bar_height;
  SetWindowPos(view, nullptr, 0, controls.toolbar_height, client_width, std::max(0, height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT handle_main_window_message(App& app, HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (!program_busy()) {
        BusyScope busy;
        static_cast<void>(run_command(app, command_message(wparam, lparam)));
      }
      return 0;
    case WM_SIZE:
      resize(app, wparam, lparam);
      return 0;
    case WM_DPICHANGED:
      // LOWORD: the horizontal DPI (the same as the vertical one).
      dpi_changed(app, window, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lparam) == FALSE) {
        show_menu_states(app, reinterpret_cast<HMENU>(wparam));
      }
      return 0;
    case WM_DROPFILES:
      if (!program_busy()) {
        BusyScope busy;
        static_cast<void>(add_dropped_files(app, reinterpret_cast<HDROP>(wparam)));
      } else {
        DragFinish(reinterpret_cast<HDROP>(wparam));
      }
      return 0;
    case WM_MOUSEWHEEL:
      // The wheel goes to the focus window; the sheet view scrolls for it.
      if (app.sheet_view.window() != nullptr) {
        return SendMessageW(app.sheet_view.window(), message, wparam, lparam);
      }
      return 0;
    case WM_NOTIFY:
      return route_notify(app, *reinterpret_cast<NMHDR*>(lparam));
    case WM_PAINT: {
      // The class has no background brush (the sheet view will cover the
      // client area); until then paint it plainly.
      PaintDc dc(window);
      if (dc) {
        FillRect(dc.get(), &dc.paint().rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
      }
      return 0;
    }
    case WM_CLOSE:
      close_request(app, window);
      return 0;
    case WM_QUERYENDSESSION:
      return query_end_session(app);
    case WM_ENDSESSION:
      if (wparam != FALSE) {
        // The process ends after this message: keep the window state. A
        // failed write goes unsaid, as a box would hold up the session's end.
        static_cast<void>(save_window_state(window, app));
      }
      return 0;
    case WM_DESTROY:
      if (app.main_window == window) {
        app.set_main_window(nullptr);
      }
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace piconel
