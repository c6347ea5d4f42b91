#pragma once

// The main window (the file is not named main_*: those are entry points and
// stay out of the library): class "piconel" and the procedure that routes its
// messages to the command table, the notify routes and the close sequence.
// No feature lives here. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <string_view>

#include "app/app_win32.h"

namespace piconel {

inline constexpr wchar_t kMainWindowClass[] = L"piconel";

// Registers the class "piconel" of `instance` (byte-aligned, icon 117,
// arrow cursor, no background brush, menu 104); false when it fails.
[[nodiscard]] bool register_main_window_class(HINSTANCE instance);

// Creates the (hidden) main window for `app`, titled `title` (CP932), and
// hands it to `app` (App::set_main_window); builds its children (toolbar
// with the zoom box, status bar, sheet view between them), accepts dropped
// files and loads the current page into the view. Null when the window
// cannot be made. The class must be registered.
[[nodiscard]] HWND create_main_window(App& app, HINSTANCE instance, std::string_view title);

// Moves the sheet view between toolbar and status bar for a client size and
// records its screen rectangle.
void layout_main_window(App& app, int client_width, int client_height);

// The main window's messages once it is bound to `app`:
// - WM_COMMAND runs the command of the table with its id, notification code
//   and control, inside a BusyScope; a command that arrives while another
//   command or a modal box of ours is running is dropped, so nothing
//   re-enters a command half done.
// - WM_SIZE lays out the children, WM_MOVE records the view's rectangle,
//   WM_INITMENUPOPUP shows the command table's answers, WM_DROPFILES adds the
//   dropped files, WM_MOUSEWHEEL scrolls the sheet view, WM_DPICHANGED
//   takes the suggested rectangle and lays the children out for the DPI.
// - WM_NOTIFY goes to route_notify.
// - WM_CLOSE runs the close sequence, or, while the program is busy, is
//   deferred until the running command has ended.
// - WM_QUERYENDSESSION asks about unsaved changes (cancel keeps the
//   session; busy keeps it too, since a command waits in a modal loop);
//   WM_ENDSESSION that ends the session writes the window state.
LRESULT handle_main_window_message(App& app, HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam);

}  // namespace piconel
