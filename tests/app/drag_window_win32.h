#pragma once

// The real main window over a new project whose images are placeholder
// boxes at given rectangles, for the drag scenarios, with what a user sees of
// it: positions, selection, window rectangles and status texts. Windows only.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/test_window_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"

namespace piconel::testing {

inline std::wstring status_text(const App& app, int part) {
  wchar_t text[256] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

// The main window over a new project, its images added as placeholder
// boxes (a window without a picture) at the given rectangles.
struct DragWindow {
  explicit DragWindow(std::initializer_list<RECT> boxes) {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    open_project(app.project, std::string_view());
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    SetWindowPos(window, nullptr, 0, 0, 460, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    for (const RECT& box : boxes) {
      const ImageEntry* made = app.project.images.load_entry([&](ImageEntry& entry) {
        entry.path = "C:\\missing.bmp";
        entry.placeholder = true;
        entry.x = box.left;
        entry.y = box.top;
        entry.width = box.right;
        entry.height = box.bottom;
        entry.display = app.sheet_view.create_placeholder_display(entry);
        return entry.has_display();
      });
      EXPECT_NE(made, nullptr);
    }
    app.sheet_view.update_extent(true);
    pump_messages();
    app.project.modified = false;
  }
  ~DragWindow() {
    if (IsWindow(window)) {
      app.project.modified = false;  // no question at the end
      DestroyWindow(window);
    }
    pump_messages();
  }

  const ImageEntry& entry(int index) { return *app.project.images.at(index); }
  std::vector<std::pair<int, int>> positions() const {
    std::vector<std::pair<int, int>> result;
    for (const ImageEntry& e : app.project.images.entries()) {
      result.emplace_back(e.x, e.y);
    }
    return result;
  }
  std::vector<int> selected() const {
    std::vector<int> indices;
    int index = 0;
    for (const ImageEntry& e : app.project.images.entries()) {
      if (e.selected) {
        indices.push_back(index);
      }
      ++index;
    }
    return indices;
  }
  // The entry's window: the child of the view that refers back to it.
  HWND window_of(const ImageEntry& e) const {
    for (HWND child = GetWindow(app.sheet_view.window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetWindowLongPtrW(child, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(&e)) {
        return child;
      }
    }
    return nullptr;
  }
  // The entry window's rectangle in the view's client coordinates.
  RECT client_rect_of(const ImageEntry& e) const {
    RECT rect{};
    GetWindowRect(window_of(e), &rect);
    MapWindowPoints(nullptr, app.sheet_view.window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  // A screen point 5 pixels inside the entry's window.
  POINT inside(const ImageEntry& e) const {
    RECT rect{};
    GetWindowRect(window_of(e), &rect);
    return {rect.left + 5, rect.top + 5};
  }

  testing::SettingsFile settings{L"piconel_drag_scenario.ini"};
  App app;
  HWND window = nullptr;
};

}  // namespace piconel::testing
