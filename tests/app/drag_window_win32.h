#pragma once

// The real main window over a new project whose images are placeholder
// boxes at given rectangles, for the drag scenarios, with what a user sees of
// it: positions, selection, the view's pixels and status texts. Windows only.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/test_window_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"

namespace piconel::testing {

inline std::wstring status_text(const App& app, int part) {
  wchar_t text[256] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

// The main window over a new project, its images added as placeholder
// boxes (no picture) at the given rectangles.
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
  // Where the view shows the entry, in its client coordinates.
  RECT client_rect_of(const ImageEntry& e) const {
    const SheetViewState& view = app.sheet_view.state();
    const ViewRect rect =
        entry_view_rect(sheet_rect_of(e), view.scroll_x, view.scroll_y, view.zoom);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }
  // A screen point 5 pixels inside the entry as the view shows it.
  POINT inside(const ImageEntry& e) const {
    const RECT rect = client_rect_of(e);
    POINT point{rect.left + 5, rect.top + 5};
    ClientToScreen(app.sheet_view.window(), &point);
    return point;
  }
  // The view's client area as the user sees it, once every waiting repaint
  // is done.
  struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rows;  // 0x00RRGGBB, top row first
    [[nodiscard]] COLORREF at(int x, int y) const {
      const std::uint32_t value = rows[static_cast<std::size_t>(y) * width + x];
      return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
  };
  Pixels view_pixels() const {
    const HWND view = app.sheet_view.window();
    UpdateWindow(view);
    RECT client{};
    GetClientRect(view, &client);
    Pixels pixels{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(CreateCompatibleDC(nullptr));
    if (!copy || !memory || bits == nullptr) {
      ADD_FAILURE() << "no bitmap for the view's pixels";
      return pixels;
    }
    {
      const SelectGuard select(memory.get(), copy.get());
      WindowDc dc(view);
      BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, dc.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.rows.assign(first, first + static_cast<std::size_t>(pixels.width) * pixels.height);
    return pixels;
  }

  testing::SettingsFile settings{L"piconel_drag_scenario.ini"};
  App app;
  HWND window = nullptr;
};

}  // namespace piconel::testing
