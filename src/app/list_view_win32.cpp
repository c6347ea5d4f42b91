#include "app/list_view_win32.h"

#include <array>

#include "app/list_window_placement.h"
#include "store/wide_text.h"
#include "window/window_class_win32.h"

namespace piconel {

bool register_list_window_class(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure) {
  return register_window_class({.name = class_name, .procedure = procedure, .instance = instance});
}

HWND create_list_window(HINSTANCE instance, const wchar_t* class_name, std::string_view title,
                        const ListWindowBox& box, HWND owner, void* target) {
  return CreateWindowExW(WS_EX_TOOLWINDOW, class_name, to_wide(title).c_str(),
                         WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, box.left, box.top, box.width,
                         box.height, owner, nullptr, instance, target);
}

namespace {

ScreenRect screen_rect(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

// A handful of monitors at most; more are left out rather than allocated for.
struct WorkAreas {
  std::array<ScreenRect, 16> areas{};
  std::size_t count = 0;
};

BOOL CALLBACK add_work_area(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept {
  auto& found = *reinterpret_cast<WorkAreas*>(list);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (found.count < found.areas.size() && GetMonitorInfoW(monitor, &info)) {
    found.areas[found.count++] = screen_rect(info.rcWork);
  }
  return TRUE;
}

}  // namespace

ListWindowBox list_window_box_on_screen(HWND main_window, const ListWindowBox& box, bool placed,
                                        int top_offset) {
  WorkAreas found;
  EnumDisplayMonitors(nullptr, nullptr, add_work_area, reinterpret_cast<LPARAM>(&found));
  RECT main_rect{};
  HMONITOR monitor = nullptr;
  if (main_window != nullptr && GetWindowRect(main_window, &main_rect)) {
    monitor = MonitorFromWindow(main_window, MONITOR_DEFAULTTONEAREST);
  } else {
    monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  }
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) {
    return box;
  }
  if (main_window == nullptr) {
    main_rect = RECT{info.rcWork.left, info.rcWork.top, info.rcWork.left, info.rcWork.top};
  }
  return list_window_opening_box(box, placed, std::span(found.areas.data(), found.count),
                                 screen_rect(main_rect), screen_rect(info.rcWork), top_offset);
}

ListWindowBox window_box(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ListWindowBox{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace piconel
