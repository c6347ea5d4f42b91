// Under Wine, the real main window in-process with real messages: its
// children, dropped files (a real HDROP), zoom steps and limits, select all,
// a selection rectangle, a click on empty sheet, delete, scrolling, adding
// an image through the open dialog, and a placeholder for a missing image
// that can be deleted, saved and reopened.

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/test_window_win32.h"
#include "canvas/entry_picture_win32.h"
#include "dialog_answerer_win32.h"
#include "drop_files_win32.h"
#include "project/current_page.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::pump_messages;

using testing::DialogAnswerer;
using testing::press_button;

// A folder of its own under the temporary folder, emptied at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"piconel_main_window\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::wstring& file : files_) {
      DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring write(const std::wstring& name, const std::string& bytes) {
    const std::wstring file = path_ + name;
    FileHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    files_.push_back(file);
    return file;
  }
  std::wstring path(const std::wstring& name) {
    files_.push_back(path_ + name);
    return path_ + name;
  }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_;
};

void put32(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// A 24-bit bitmap file of one colour, `side` x `side`.
std::string bmp(int side, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(side) * 3 + 3) & ~3u;
  const std::uint32_t pixels = stride * static_cast<std::uint32_t>(side);
  std::string bytes = "BM";
  put32(bytes, 54 + pixels);
  put32(bytes, 0);
  put32(bytes, 54);
  put32(bytes, 40);
  put32(bytes, static_cast<std::uint32_t>(side));
  put32(bytes, static_cast<std::uint32_t>(side));
  put32(bytes, 1 | (24 << 16));
  put32(bytes, 0);
  put32(bytes, pixels);
  put32(bytes, 2835);
  put32(bytes, 2835);
  put32(bytes, 0);
  put32(bytes, 0);
  for (int y = 0; y < side; ++y) {
    std::string row;
    for (int x = 0; x < side; ++x) {
      row += static_cast<char>(blue);
      row += static_cast<char>(green);
      row += static_cast<char>(red);
    }
    row.resize(stride, '\0');
    bytes += row;
  }
  return bytes;
}

std::wstring status_text(const App& app, int part) {
  wchar_t text[256] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

void command(HWND window, unsigned id) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LPARAM point(int x, int y) {
  return MAKELPARAM(x, y);
}

struct MainWindow {
  explicit MainWindow(std::string_view project_path = {}) {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    open_project(app.project, project_path);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    SetWindowPos(window, nullptr, 0, 0, 420, 320, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    pump_messages();
  }
  ~MainWindow() {
    if (IsWindow(window)) {
      app.project.modified = false;  // no question at the end
      DestroyWindow(window);
    }
    pump_messages();
  }

  std::vector<int> selected() const {
    std::vector<int> indices;
    int index = 0;
    for (const ImageEntry& entry : app.project.images.entries()) {
      if (entry.selected) {
        indices.push_back(index);
      }
      ++index;
    }
    return indices;
  }

  testing::SettingsFile settings{L"piconel_main_window_scenario.ini"};
  App app;
  HWND window = nullptr;
};

TEST(MainWindowScenario, DropZoomSelectDeleteAndScroll) {
  ScratchFolder folder;
  MainWindow main;
  App& app = main.app;
  ASSERT_NE(main.window, nullptr);
  ASSERT_NE(app.sheet_view.window(), nullptr);

  // The children: fourteen toolbar items, the zoom box on "x 1", an empty
  // page summarised in status part 0.
  EXPECT_EQ(SendMessageW(app.controls.toolbar, TB_BUTTONCOUNT, 0, 0), 14);
  EXPECT_EQ(SendMessageW(app.controls.zoom_box, CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(app.controls.zoom_box, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(GetDlgCtrlID(app.controls.status_bar), IDC_STATUS_BAR);
  EXPECT_EQ(status_text(app, 0), L"(0,0) 1\x8272 0\x679a");
  EXPECT_EQ(SendMessageW(app.controls.status_bar, SB_GETPARTS, 0, 0), 2);

  // Ten files dropped, three of them unreadable: seven images in the shell's
  // order, one cursor carried along the first row.
  std::vector<std::wstring> files;
  for (int i = 0; i < 10; ++i) {
    const std::wstring name = L"sprite" + std::to_wstring(i) + L".bmp";
    if (i == 2) {
      files.push_back(folder.path(name));  // missing
    } else if (i == 5) {
      files.push_back(folder.write(name, "not a bitmap"));
    } else if (i == 8) {
      files.push_back(folder.write(name, bmp(32, 1, 2, 3).substr(0, 60)));  // cut off
    } else {
      files.push_back(folder.write(name, bmp(32, static_cast<std::uint8_t>(30 * i), 0, 0)));
    }
  }
  std::wstring not_added;
  {
    DialogAnswerer answerer([&](HWND box) {
      wchar_t text[2048] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 2048);
      not_added = text;
      press_button(box, IDOK);
    });
    SendMessageW(main.window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::make_drop(files)), 0);
    EXPECT_EQ(answerer.dialogs_shown(), 1);
  }
  // One message names the three that were not added.
  for (const int i : {2, 5, 8}) {
    EXPECT_NE(not_added.find(files[static_cast<std::size_t>(i)]), std::wstring::npos) << i;
  }
  ASSERT_EQ(app.project.images.entries().size(), 7u);
  int expected_x = 0;
  for (const ImageEntry& entry : app.project.images.entries()) {
    EXPECT_EQ(entry.x, expected_x);
    EXPECT_EQ(entry.y, 0);
    expected_x += 32;
  }
  EXPECT_EQ(app.project.images.entries().front().settings.label, "SPRITE0");
  EXPECT_TRUE(app.project.modified);
  wchar_t title[256] = {};
  GetWindowTextW(main.window, title, 256);
  EXPECT_NE(std::wstring(title).find(L" *"), std::wstring::npos);
  const std::wstring summary = status_text(app, 0);
  EXPECT_EQ(summary.substr(0, 9), L"(224,32) ");
  EXPECT_EQ(summary.substr(summary.size() - 3), L" 7\x679a");

  // Zoom in doubles sizes and positions; the ends of the steps hold.
  const HWND view = app.sheet_view.window();
  command(main.window, IDM_ZOOM_IN);
  EXPECT_EQ(app.sheet_view.state().zoom, 32);
  EXPECT_EQ(SendMessageW(app.controls.zoom_box, CB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(testing::shows_box(view, RECT{64, 0, 128, 64}, RGB(30, 0, 0)));
  for (int i = 0; i < 3; ++i) {
    command(main.window, IDM_ZOOM_IN);
  }
  EXPECT_EQ(app.sheet_view.state().zoom, 128);
  EXPECT_EQ(SendMessageW(app.controls.zoom_box, CB_GETCURSEL, 0, 0), 0);
  for (int i = 0; i < 6; ++i) {
    command(main.window, IDM_ZOOM_OUT);
  }
  EXPECT_EQ(app.sheet_view.state().zoom, 4);
  EXPECT_EQ(SendMessageW(app.controls.zoom_box, CB_GETCURSEL, 0, 0), 5);
  EXPECT_TRUE(testing::shows_box(view, RECT{8, 0, 16, 8}, RGB(30, 0, 0)));
  // The zoom box itself: a selection change applies its step.
  SendMessageW(app.controls.zoom_box, CB_SETCURSEL, 3, 0);
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(app.controls.zoom_box));
  EXPECT_EQ(app.sheet_view.state().zoom, 16);
  EXPECT_TRUE(testing::shows_box(view, RECT{32, 0, 64, 32}, RGB(30, 0, 0)));

  // Select all (Ctrl+A): status part 1 describes the last image.
  command(main.window, IDM_SELECT_ALL);
  EXPECT_EQ(main.selected(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(status_text(app, 1).substr(0, 15), L"(192,0)-(32,32)");

  // A rectangle from below the images up to (20, 10) holds only the first
  // image's centre (16, 16); releasing after moving keeps that selection.
  SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, point(5, 100));
  SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, point(20, 10));
  SendMessageW(view, WM_LBUTTONUP, 0, point(20, 10));
  EXPECT_EQ(main.selected(), (std::vector<int>{0}));
  // A click on empty sheet deselects everything.
  SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, point(300, 150));
  SendMessageW(view, WM_LBUTTONUP, 0, point(300, 150));
  EXPECT_TRUE(main.selected().empty());
  EXPECT_EQ(status_text(app, 1), L"");

  // Delete with nothing selected changes nothing but marks modified; then
  // the first image goes.
  app.project.modified = false;
  command(main.window, IDM_DELETE_SELECTED);
  EXPECT_EQ(app.project.images.entries().size(), 7u);
  EXPECT_TRUE(app.project.modified);
  app.sheet_view.set_entry_selected(0, true);
  command(main.window, IDM_DELETE_MENU);  // the menu item is bound to Delete
  ASSERT_EQ(app.project.images.entries().size(), 6u);
  EXPECT_EQ(app.project.images.entries().front().x, 32);
  EXPECT_EQ(status_text(app, 0).substr(0, 9), L"(224,32) ");

  // Scrolling in a narrow window: line 8, bottom at extent - visible, the
  // wheel does nothing where everything is visible, top back at 0.
  SetWindowPos(main.window, nullptr, 0, 0, 160, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT view_rect{};
  GetWindowRect(view, &view_rect);
  const int visible = view_rect.right - view_rect.left - GetSystemMetrics(SM_CXVSCROLL);
  ASSERT_LT(visible + 8, 224);
  SendMessageW(view, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(app.sheet_view.state().scroll_x, 8);
  SendMessageW(view, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(app.sheet_view.state().scroll_x, 224 - visible);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(view, SB_HORZ, &info);
  EXPECT_EQ(info.nPos, 224 - visible);
  EXPECT_EQ(info.nMax, 223);
  SendMessageW(main.window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(app.sheet_view.state().scroll_y, 0);
  SendMessageW(view, WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(app.sheet_view.state().scroll_x, 0);
}

TEST(MainWindowScenario, PlaceholderForAMissingImageAndAddingThroughTheDialog) {
  ScratchFolder folder;
  const std::wstring present = folder.write(L"present.bmp", bmp(32, 0, 200, 0));
  const std::wstring added = folder.write(L"added.bmp", bmp(16, 0, 0, 200));
  const std::wstring missing = folder.path(L"missing.bmp");
  const std::string project = to_cp932(folder.write(
      L"game.ijp",
      "[INFOMATION]\r\nAPPLICATIONNAME=\x83s\x83R\x83l\x83\x8b\x83v\x83\x8d\x83W\x83"
      "F\x83N\x83g\r\nAPPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\npage000\r\n[FILELIST:page000]\r\n" +
          to_cp932(present) + "\t0\t0\r\n" + to_cp932(missing) +
          "\t40\t8\tGONE\t1\t20\t10\t0\t0\r\n"));

  int prompts = 0;
  std::vector<std::wstring> seen;
  std::wstring typed;
  DialogAnswerer answerer([&](HWND dialog) {
    wchar_t class_name[64] = {};
    GetClassNameW(dialog, class_name, 64);
    if (!typed.empty()) {
      // The open dialog: type the name and confirm.
      HWND field = GetDlgItem(dialog, cmb13);
      if (field == nullptr) {
        field = GetDlgItem(dialog, edt1);
      }
      SetWindowTextW(field, typed.c_str());
      press_button(dialog, IDOK);
      return;
    }
    ++prompts;
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 512);
    seen.push_back(text);
    press_button(dialog, IDOK);  // the unreadable-image prompt
  });
  MainWindow main(project);
  App& app = main.app;
  EXPECT_EQ(prompts, 1) << to_cp932(seen.empty() ? L"" : seen.back());
  ASSERT_EQ(app.project.images.entries().size(), 2u);
  const ImageEntry& placeholder = app.project.images.entries().back();
  EXPECT_TRUE(placeholder.placeholder);
  EXPECT_EQ((std::pair{placeholder.width, placeholder.height}), (std::pair{20, 10}));
  // Drawn at its stored position, counted among the page's images.
  EXPECT_TRUE(testing::shows_box(app.sheet_view.window(), RECT{40, 8, 60, 18}, kPlaceholderInk, 0));
  EXPECT_EQ(status_text(app, 0).substr(0, 8), L"(60,32) ");
  EXPECT_EQ(status_text(app, 0).substr(status_text(app, 0).size() - 3), L" 2\x679a");

  // Adding through the open dialog places the image automatically.
  typed = added;
  command(main.window, IDM_ADD_IMAGE);
  typed.clear();
  ASSERT_EQ(app.project.images.entries().size(), 3u);
  // Only the candidate's top-left point is tested: (32, 0) lies above the
  // placeholder at (40, 8), so the image goes there.
  EXPECT_EQ(
      (std::pair{app.project.images.entries().back().x, app.project.images.entries().back().y}),
      (std::pair{32, 0}));
  EXPECT_TRUE(app.project.modified);

  // The placeholder is selectable and deletable; its row goes with it.
  app.sheet_view.set_entry_selected(1, true);
  command(main.window, IDM_DELETE_SELECTED);
  ASSERT_EQ(app.project.images.entries().size(), 2u);
  ASSERT_TRUE(sync_current_page(app.project));
  ASSERT_EQ(save_project(app.project, std::nullopt), SaveResult::Saved);
  open_project(app.project, project);
  EXPECT_EQ(prompts, 1);  // nothing missing any more
  ASSERT_EQ(app.project.images.entries().size(), 2u);
  EXPECT_FALSE(answerer.watchdog_fired());
}

}  // namespace
}  // namespace piconel
