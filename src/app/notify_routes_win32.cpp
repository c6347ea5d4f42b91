#include "app/notify_routes_win32.h"

#include <commctrl.h>

#include <array>

namespace piconel {
namespace {

LRESULT tooltip_text(App&, NMHDR& header) {
  static_cast<void>(answer_tooltip(reinterpret_cast<NMTTDISPINFOW&>(header)));
  return 0;
}

constexpr std::array kNotifyRoutes = {
    NotifyRoute{TTN_GETDISPINFOW, tooltip_text},
};

}  // namespace

std::span<const NotifyRoute> notify_routes() {
  return kNotifyRoutes;
}

LRESULT route_notify(App& app, NMHDR& header) {
  for (const NotifyRoute& route : kNotifyRoutes) {
    if (route.code == header.code) {
      return route.handle(app, header);
    }
  }
  return 0;
}

bool answer_tooltip(NMTTDISPINFOW& request) {
  request.szText[0] = L'\0';
  request.lpszText = request.szText;
  if ((request.uFlags & TTF_IDISHWND) != 0 || request.hdr.idFrom > 0xFFFF) {
    return false;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const UINT id = static_cast<UINT>(request.hdr.idFrom);
  // With a zero length LoadStringW only points at the resource: a length
  // above zero says the string exists.
  const wchar_t* text = nullptr;
  if (LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0) <= 0) {
    return false;
  }
  request.hinst = instance;
  request.lpszText = MAKEINTRESOURCEW(id);
  return true;
}

}  // namespace piconel
