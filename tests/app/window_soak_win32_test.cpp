// A soak of the real main window under Wine: a fixed-seed random sequence of
// user actions (commands of the table, drags of single images and groups,
// zoom steps, scrolling, page switches, page new / delete / move from the
// page list's menu, list windows opened and closed, the settings dialogs
// closed with OK and Cancel, images dropped and deleted). After each action
// the sheet view, the image list, the page list and the model must agree;
// GDI and USER objects and memory, measured on an emptied project after
// action 500 and after the last, must not grow; and a save at the end loads
// back to the same rows.
//
// CTest runs it as its own test (app_soak) with 1000 actions (about a minute);
// PICONEL_SOAK_ACTIONS sets another number (see README).

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/list_windows_win32.h"
#include "app/test_window_win32.h"
#include "canvas/entry_picture_win32.h"
#include "canvas/sheet_geometry.h"
#include "canvas/snapping.h"
#include "dialog_answerer_win32.h"
#include "drop_files_win32.h"
#include "project/current_page.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/document_store.h"
#include "store/handles_win32.h"
#include "store/store_dump.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::press_button;
using testing::pump_messages;

constexpr std::uint32_t kSeed = 22;
constexpr int kDefaultActions = 1000;
constexpr int kFirstMeasure = 500;

// Bitmaps of a few sizes under the temporary folder.
class SoakFiles {
 public:
  SoakFiles() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"piconel_soak\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (int i = 0; i < 6; ++i) {
      pictures.push_back(write(L"sprite" + std::to_wstring(i) + L".bmp", bitmap(8 + 6 * i, i)));
    }
    project = folder_ + L"soak.ijp";
  }
  ~SoakFiles() {
    for (const std::wstring& file : pictures) {
      DeleteFileW(file.c_str());
    }
    DeleteFileW(project.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::vector<std::wstring> pictures;
  std::wstring project;

 private:
  static void put32(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
  }
  // A 24-bit square of one colour.
  static std::string bitmap(int side, int shade) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(side) * 3 + 3) & ~3u;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(side);
    std::string bytes = "BM";
    for (const std::uint32_t value :
         {54 + pixels, 0u, 54u, 40u, static_cast<std::uint32_t>(side),
          static_cast<std::uint32_t>(side), 1u | (24u << 16), 0u, pixels, 0u, 0u, 0u, 0u}) {
      put32(bytes, value);
    }
    bytes.append(pixels, static_cast<char>(40 * shade));
    return bytes;
  }
  std::wstring write(const std::wstring& name, const std::string& bytes) {
    const std::wstring file = folder_ + name;
    FileHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return file;
  }
  std::wstring folder_;
};

// Ends every popup menu as soon as it waits for the user.
class MenuCloser {
 public:
  MenuCloser() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, observe, nullptr, GetCurrentThreadId())) {}

 private:
  static LRESULT CALLBACK observe(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
      EndMenu();
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  WindowsHook hook_;
};

LPARAM row_point(HWND list, int row) {
  RECT rect{};
  rect.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// What the process holds. Wine answers GetGuiResources with 0, so the
// windows of the thread are counted too (the USER objects that matter here).
struct Resources {
  DWORD gdi = 0;
  DWORD user = 0;
  int windows = 0;
  SIZE_T memory = 0;  // committed bytes
};

BOOL CALLBACK count_window(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// A top-level window and all its descendants, each once (EnumChildWindows
// already walks the children's children).
BOOL CALLBACK count_window_tree(HWND window, LPARAM count) {
  count_window(window, count);
  EnumChildWindows(window, count_window, count);
  return TRUE;
}

Resources measure() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  Resources resources{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                      GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0,
                      memory.PagefileUsage};
  EnumThreadWindows(GetCurrentThreadId(), count_window_tree,
                    reinterpret_cast<LPARAM>(&resources.windows));
  return resources;
}

class Soak {
 public:
  Soak() : answerer_([this](HWND dialog) { press_button(dialog, answer_); }) {
    EXPECT_TRUE(app.settings.load(settings_.cp932(), true));
    open_project(app.project, std::string_view());
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    SetWindowPos(window, nullptr, 0, 0, 460, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    pump_messages();
  }
  ~Soak() {
    if (IsWindow(window)) {
      app.project.modified = false;
      DestroyWindow(window);
    }
    pump_messages();
  }

  void command(HWND target, UINT id) {
    SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pump_messages();
  }

  void act(std::mt19937& random, int step) {
    const auto pick = [&](int count) {
      return static_cast<int>(random() % static_cast<std::uint32_t>(count));
    };
    // Message boxes and dialogs of this action: OK (Yes) or Cancel.
    answer_ = pick(2) == 0 ? IDOK : IDCANCEL;
    const int entries = static_cast<int>(app.project.images.entries().size());
    const int kind = pick(16);
    if (std::getenv("PICONEL_SOAK_TRACE") != nullptr) {
      std::fprintf(stderr, "action %d: %d\n", step, kind);
      std::fflush(stderr);
    }
    switch (kind) {
      case 0:
      case 1: {
        std::vector<std::wstring> files;
        for (int n = pick(3) + 1; n > 0; --n) {
          files.push_back(files_.pictures[static_cast<std::size_t>(pick(6))]);
        }
        SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::make_drop(files)), 0);
        pump_messages();
        break;
      }
      case 2:
        command(window, pick(2) == 0 ? IDM_ZOOM_IN : IDM_ZOOM_OUT);
        break;
      case 3:
        command(window, IDM_SELECT_ALL);
        break;
      case 4:
        if (entries > 0) {
          app.sheet_view.set_entry_selected(pick(entries), true);
          command(window, IDM_DELETE_SELECTED);
        }
        break;
      case 5:
      case 6:
        if (entries > 0) {
          drag(random, pick(entries), pick(2) == 0);
        }
        break;
      case 7: {
        const HWND view = app.sheet_view.window();
        const UINT message = pick(2) == 0 ? WM_VSCROLL : WM_HSCROLL;
        const WPARAM codes[] = {SB_LINEDOWN, SB_LINEUP, SB_PAGEDOWN, SB_PAGEUP, SB_TOP, SB_BOTTOM};
        SendMessageW(view, message, codes[pick(6)], 0);
        pump_messages();
        break;
      }
      case 8:
        command(window, pick(2) == 0 ? IDM_IMAGE_LIST : IDM_PAGE_LIST);
        break;
      case 9:
      case 10:
        page_action(random);
        break;
      case 11: {
        const UINT dialogs[] = {IDM_PROJECT_SETTINGS, IDM_PAGE_SETTINGS, IDM_APP_SETTINGS};
        command(window, dialogs[pick(3)]);
        break;
      }
      case 12:
        command(window, pick(2) == 0 ? IDM_MOVE_UP : IDM_MOVE_DOWN);
        break;
      case 13:
        if (entries > 0) {
          // A click (a press and release without a move) selects one image.
          press_move_release(random, pick(entries), 0);
        }
        break;
      default:
        command(window, IDM_OVERLAP_CHECK);
        break;
    }
  }

  // The views agree with the model.
  void check(int step) {
    SCOPED_TRACE("after action " + std::to_string(step));
    Project& project = app.project;
    ASSERT_GE(project.current_page, 0);
    ASSERT_LT(project.current_page, project.page_count);
    ASSERT_EQ(project.store->entry_count("PAGELIST"), project.page_count);
    // Every image has its picture for the view, and the view no windows.
    for (const ImageEntry& entry : project.images.entries()) {
      ASSERT_NE(entry_picture(entry), nullptr) << entry.path;
    }
    ASSERT_EQ(GetWindow(app.sheet_view.window(), GW_CHILD), nullptr);
    const HWND images = lists_.image_list().list();
    if (images != nullptr && IsWindow(images)) {
      ASSERT_EQ(SendMessageW(images, LVM_GETITEMCOUNT, 0, 0),
                static_cast<LRESULT>(project.images.entries().size()));
      int row = 0;
      for (const ImageEntry& entry : project.images.entries()) {
        const bool shown =
            (SendMessageW(images, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
             LVIS_SELECTED) != 0;
        ASSERT_EQ(shown, entry.selected) << "row " << row;
        ++row;
      }
    }
    const HWND pages = lists_.page_list().list();
    if (pages != nullptr && IsWindow(pages)) {
      ASSERT_EQ(SendMessageW(pages, LVM_GETITEMCOUNT, 0, 0), project.page_count);
    }
  }

  // Back to an empty new project with the list windows closed, for the
  // resource counts.
  Resources emptied() {
    app.project.modified = false;
    command(window, IDM_PROJECT_NEW);
    for (const ListWindowKind kind : {ListWindowKind::ImageList, ListWindowKind::PageList}) {
      if (lists_.is_open(kind)) {
        lists_.close(kind);
      }
    }
    pump_messages();
    return measure();
  }

  testing::SettingsFile settings_{L"piconel_soak.ini"};
  SoakFiles files_;
  App app;
  ListWindows lists_{app};
  HWND window = nullptr;

 private:
  // A press on an image, the cursor moved in a few steps, the release:
  // alone, or after selecting all so the others follow.
  void drag(std::mt19937& random, int index, bool group) {
    if (group) {
      command(window, IDM_SELECT_ALL);
    }
    press_move_release(random, index, 3);
  }

  // The press, the moves and the release posted to the view, as the mouse
  // gives them, at points 2 pixels inside image `index`.
  void press_move_release(std::mt19937& random, int index, int moves) {
    if (index < 0 || index >= static_cast<int>(app.project.images.entries().size())) {
      return;
    }
    const ImageEntry& entry = *app.project.images.at(index);
    const SheetViewState& state = app.sheet_view.state();
    const ViewRect rect =
        entry_view_rect(sheet_rect_of(entry), state.scroll_x, state.scroll_y, state.zoom);
    POINT at{rect.left + 2, rect.top + 2};
    const HWND view = app.sheet_view.window();
    PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    for (int i = 0; i < moves; ++i) {
      at.x += static_cast<int>(random() % 41) - 20;
      at.y += static_cast<int>(random() % 41) - 20;
      PostMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pump_messages();
    PostMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    pump_messages();
  }

  // Switch to a page by a click in the page list, or right-click a row and
  // run one of its menu commands.
  void page_action(std::mt19937& random) {
    if (!lists_.is_open(ListWindowKind::PageList)) {
      command(window, IDM_PAGE_LIST);
    }
    const HWND list = lists_.page_list().list();
    const HWND list_window = lists_.page_list().window();
    if (list == nullptr || list_window == nullptr) {
      return;
    }
    const int row = static_cast<int>(random() % static_cast<std::uint32_t>(app.project.page_count));
    if (random() % 3 == 0) {
      SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, row_point(list, row));
      SendMessageW(list, WM_LBUTTONUP, 0, row_point(list, row));
      pump_messages();
      return;
    }
    {
      const MenuCloser closer;
      PostMessageW(list, WM_RBUTTONUP, 0, row_point(list, row));
      SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, row_point(list, row));
      pump_messages();
    }
    const UINT commands[] = {IDM_PAGE_SELECT, IDM_PAGE_DELETE, IDM_PAGE_UP, IDM_PAGE_DOWN,
                             IDM_PAGE_NEW};
    command(list_window, commands[random() % 5]);
  }

  testing::DialogAnswerer answerer_;
  int answer_ = IDCANCEL;
};

int action_count() {
  const char* text = std::getenv("PICONEL_SOAK_ACTIONS");
  const int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : kDefaultActions;
}

TEST(WindowSoak, RandomActionsKeepViewsAndModelAgreeAndResourcesLevel) {
  Soak soak;
  ASSERT_NE(soak.window, nullptr);
  std::mt19937 random(kSeed);
  const int actions = std::max(action_count(), kFirstMeasure);
  Resources after_first{};
  for (int step = 1; step <= actions; ++step) {
    soak.act(random, step);
    soak.check(step);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
    if (step == kFirstMeasure) {
      after_first = soak.emptied();
    }
  }

  // A save loads back to the same rows.
  App& app = soak.app;
  ASSERT_TRUE(sync_current_page(app.project));
  const std::string path = to_cp932(soak.files_.project);
  ASSERT_EQ(save_project(app.project, path), SaveResult::Saved);
  DocumentStore reloaded;
  ASSERT_TRUE(reloaded.load(path, false));
  EXPECT_EQ(testing::dump(reloaded), testing::dump(*app.project.store));

  const Resources at_end = soak.emptied();
  EXPECT_LE(at_end.gdi, after_first.gdi + 8);
  EXPECT_LE(at_end.user, after_first.user + 8);
  EXPECT_LE(at_end.windows, after_first.windows);
  EXPECT_LE(at_end.memory, after_first.memory + (SIZE_T{16} << 20));
  const std::string summary =
      "soak: " + std::to_string(actions) + " actions; GDI " + std::to_string(after_first.gdi) +
      " -> " + std::to_string(at_end.gdi) + ", USER " + std::to_string(after_first.user) + " -> " +
      std::to_string(at_end.user) + ", windows " + std::to_string(after_first.windows) + " -> " +
      std::to_string(at_end.windows) + ", committed KB " +
      std::to_string(after_first.memory / 1024) + " -> " + std::to_string(at_end.memory / 1024) +
      "\n";
  std::fputs(summary.c_str(), stdout);
}

}  // namespace
}  // namespace piconel
