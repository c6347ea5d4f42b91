#pragma once

// The one place where the main window's WM_NOTIFY messages are routed: a
// table keyed by notification code, as the command table is keyed by
// command id. Windows only: include from *_win32.cpp files only.

#include <windows.h>

#include <commctrl.h>

#include <span>

#include "app/app_win32.h"

namespace piconel {

struct NotifyRoute {
  UINT code;
  LRESULT (*handle)(App& app, NMHDR& header);
};

[[nodiscard]] std::span<const NotifyRoute> notify_routes();

// The handler's answer for `header`; 0 for a code the table does not hold.
LRESULT route_notify(App& app, NMHDR& header);

// A tooltip request of the toolbar (TTN_GETDISPINFOW, idFrom = the
// button's command id): points the request at the string resource of that
// id in the program's own module; a command without one gets no text.
// False when it had no text to give.
bool answer_tooltip(NMTTDISPINFOW& request);

}  // namespace piconel
