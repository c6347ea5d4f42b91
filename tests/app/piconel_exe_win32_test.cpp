// Runs the built piconel.exe under Wine: its resources read back as the
// right Japanese text, and the program starts, shows its main window and
// ends with exit code 0 when that window is closed.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/handles_win32.h"
#include "app/resource.h"

#ifdef PICONEL_EXE_PATH

namespace piconel {
namespace {

// The build hands over a Unix path under Wine (mapped to drive Z:) or a
// Windows path with forward slashes on Windows.
std::wstring exe_path() {
  const std::string path = PICONEL_EXE_PATH;
  std::wstring wide = path.front() == '/' ? L"Z:" : L"";
  for (const char c : path) {
    wide.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

std::wstring menu_text(HMENU menu, UINT position) {
  wchar_t buffer[256] = {};
  GetMenuStringW(menu, position, buffer, 256, MF_BYPOSITION);
  return buffer;
}

bool is_separator(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR) != 0;
}

struct MenuItem {
  UINT id;  // 0: separator
  const wchar_t* text;
};

struct Menu {
  const wchar_t* title;
  std::vector<MenuItem> items;
};

constexpr MenuItem kSeparator{0, nullptr};

// The expected texts as UTF-16, written independently of the CP932 bytes of
// the resource script.
const Menu kMenus[] = {
    // ﾌﾟﾛｼﾞｪｸﾄ(&P)
    {L"\xff8c\xff9f\xff9b\xff7c\xff9e\xff6a\xff78\xff84(&P)",
     {
         // ﾌﾟﾛｼﾞｪｸﾄ新規作成(&N)
         {IDM_PROJECT_NEW,
          L"\xff8c\xff9f\xff9b\xff7c\xff9e\xff6a\xff78\xff84\x65b0\x898f\x4f5c\x6210(&N)"},
         // ﾌﾟﾛｼﾞｪｸﾄを開く(&O)...
         {IDM_PROJECT_OPEN,
          L"\xff8c\xff9f\xff9b\xff7c\xff9e\xff6a\xff78\xff84\x3092\x958b\x304f(&O)..."},
         // 保存(&S)
         {IDM_PROJECT_SAVE, L"\x4fdd\x5b58(&S)"},
         // 名前を付けて保存(&A)...
         {IDM_PROJECT_SAVE_AS, L"\x540d\x524d\x3092\x4ed8\x3051\x3066\x4fdd\x5b58(&A)..."},
         kSeparator,
         // ﾌﾟﾛｼﾞｪｸﾄの設定(&P)...
         {IDM_PROJECT_SETTINGS,
          L"\xff8c\xff9f\xff9b\xff7c\xff9e\xff6a\xff78\xff84\x306e\x8a2d\x5b9a(&P)..."},
         // 出力(&O)
         {IDM_OUTPUT, L"\x51fa\x529b(&O)"},
         kSeparator,
         // ピコネルの設定(&G)...
         {IDM_APP_SETTINGS, L"\x30d4\x30b3\x30cd\x30eb\x306e\x8a2d\x5b9a(&G)..."},
         kSeparator,
         // 終了(&X)
         {IDM_EXIT, L"\x7d42\x4e86(&X)"},
     }},
    // 編集(&E)
    {L"\x7de8\x96c6(&E)",
     {
         // 画像を追加(&I)...
         {IDM_ADD_IMAGE, L"\x753b\x50cf\x3092\x8ffd\x52a0(&I)..."},
         // 削除(Del)
         {IDM_DELETE_MENU, L"\x524a\x9664(Del)"},
         kSeparator,
         // 重なりチェック
         {IDM_OVERLAP_CHECK, L"\x91cd\x306a\x308a\x30c1\x30a7\x30c3\x30af"},
         kSeparator,
         // ページの設定(&S)...
         {IDM_PAGE_SETTINGS, L"\x30da\x30fc\x30b8\x306e\x8a2d\x5b9a(&S)..."},
     }},
    // 表示(&V)
    {L"\x8868\x793a(&V)",
     {
         // ページリスト(&P)
         {IDM_PAGE_LIST, L"\x30da\x30fc\x30b8\x30ea\x30b9\x30c8(&P)"},
         // 画像リスト(&I)
         {IDM_IMAGE_LIST, L"\x753b\x50cf\x30ea\x30b9\x30c8(&I)"},
         kSeparator,
         // 拡大表示(&Z)
         {IDM_ZOOM_IN, L"\x62e1\x5927\x8868\x793a(&Z)"},
         // 縮小表示(&O)
         {IDM_ZOOM_OUT, L"\x7e2e\x5c0f\x8868\x793a(&O)"},
     }},
    // 設定(&S)
    {L"\x8a2d\x5b9a(&S)",
     {
         // ピコネルの設定(&G)...
         {IDM_APP_SETTINGS, L"\x30d4\x30b3\x30cd\x30eb\x306e\x8a2d\x5b9a(&G)..."},
         // ﾌﾟﾛｼﾞｪｸﾄの設定(&P)...
         {IDM_PROJECT_SETTINGS,
          L"\xff8c\xff9f\xff9b\xff7c\xff9e\xff6a\xff78\xff84\x306e\x8a2d\x5b9a(&P)..."},
         // ページの設定(&S)...
         {IDM_PAGE_SETTINGS, L"\x30da\x30fc\x30b8\x306e\x8a2d\x5b9a(&S)..."},
     }},
    // ﾍﾙﾌﾟ(&H)
    {L"\xff8d\xff99\xff8c\xff9f(&H)",
     {
         // ヘルプファイルを開く(&H)
         {IDM_HELP_FILE, L"\x30d8\x30eb\x30d7\x30d5\x30a1\x30a4\x30eb\x3092\x958b\x304f(&H)"},
         // バージョン情報(&A)...
         {IDM_ABOUT, L"\x30d0\x30fc\x30b8\x30e7\x30f3\x60c5\x5831(&A)..."},
     }},
};

void expect_menu_bar(HMENU bar) {
  ASSERT_EQ(GetMenuItemCount(bar), 5);
  for (UINT m = 0; m < 5; ++m) {
    const Menu& expected = kMenus[m];
    SCOPED_TRACE(m);
    EXPECT_EQ(menu_text(bar, m), expected.title);
    HMENU popup = GetSubMenu(bar, static_cast<int>(m));
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected.items.size()));
    for (UINT i = 0; i < expected.items.size(); ++i) {
      SCOPED_TRACE(i);
      const MenuItem& item = expected.items[i];
      if (item.text == nullptr) {
        EXPECT_TRUE(is_separator(popup, i));
        continue;
      }
      EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), item.id);
      EXPECT_EQ(menu_text(popup, i), item.text);
      // No item is ever checked or greyed at start.
      EXPECT_EQ(GetMenuState(popup, i, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), 0u);
    }
  }
}

TEST(PiconelResources, MenuBarInJapanese) {
  Library exe(LoadLibraryExW(exe_path().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(exe.valid()) << GetLastError();
  OwnedMenu menu(LoadMenuW(exe.get(), MAKEINTRESOURCEW(IDR_MAIN_MENU)));
  ASSERT_TRUE(menu.valid());
  expect_menu_bar(menu.get());
}

TEST(PiconelResources, TooltipTexts) {
  Library exe(LoadLibraryExW(exe_path().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(exe.valid());
  const struct {
    UINT id;
    const wchar_t* text;
  } tips[] = {
      {IDM_PROJECT_NEW,
       L"\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x65b0\x898f\x4f5c\x6210"},  // プロジェクト新規作成
      {IDM_PROJECT_OPEN,
       L"\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x3092\x958b\x304f"},  // プロジェクトを開く
      {IDM_PROJECT_SAVE, L"\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x4fdd\x5b58"},  // プロジェクト保存
      {IDM_ADD_IMAGE, L"\x753b\x50cf\x3092\x8ffd\x52a0"},                       // 画像を追加
      {IDM_PAGE_LIST, L"\x30da\x30fc\x30b8\x30ea\x30b9\x30c8"},  // ページリスト
      {IDM_IMAGE_LIST, L"\x753b\x50cf\x30ea\x30b9\x30c8"},       // 画像リスト
      {IDM_OUTPUT, L"\x51fa\x529b"},                             // 出力
  };
  for (const auto& tip : tips) {
    SCOPED_TRACE(tip.id);
    wchar_t buffer[128] = {};
    EXPECT_GT(LoadStringW(exe.get(), tip.id, buffer, 128), 0);
    EXPECT_STREQ(buffer, tip.text);
  }
  wchar_t buffer[16] = {};
  EXPECT_EQ(LoadStringW(exe.get(), IDM_EXIT, buffer, 16), 0);  // not a toolbar command
}

TEST(PiconelResources, AcceleratorTable) {
  Library exe(LoadLibraryExW(exe_path().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(exe.valid());
  // Freed with the module; DestroyAcceleratorTable is only for created ones.
  HACCEL table = LoadAcceleratorsW(exe.get(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8] = {};
  ASSERT_EQ(CopyAcceleratorTableW(table, entries, 8), 6);
  const ACCEL expected[] = {
      {FVIRTKEY | FCONTROL | FNOINVERT, 'A', IDM_SELECT_ALL},
      {FVIRTKEY | FCONTROL | FNOINVERT, 'S', IDM_SAVE_KEY},
      {FVIRTKEY | FNOINVERT, VK_DELETE, IDM_DELETE_SELECTED},
      {FVIRTKEY | FCONTROL | FNOINVERT, VK_UP, IDM_MOVE_UP},
      {FVIRTKEY | FCONTROL | FNOINVERT, VK_DOWN, IDM_MOVE_DOWN},
      {FVIRTKEY | FNOINVERT, VK_F2, IDM_RENAME_PAGE},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].fVirt & ~0x80, expected[i].fVirt);  // 0x80: last-entry flag
    EXPECT_EQ(entries[i].key, expected[i].key);
    EXPECT_EQ(entries[i].cmd, expected[i].cmd);
  }
}

struct FoundWindow {
  DWORD process_id;
  HWND window;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM lparam) {
  auto* found = reinterpret_cast<FoundWindow*>(lparam);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  if (process_id == found->process_id && std::wstring(class_name) == L"piconel") {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// A started piconel.exe with its main window.
struct RunningProgram {
  KernelHandle process;
  KernelHandle thread;
  HWND main_window = nullptr;
};

RunningProgram start_program() {
  RunningProgram program;
  std::wstring command_line = L"\"" + exe_path() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
    return program;
  }
  program.process.reset(info.hProcess);
  program.thread.reset(info.hThread);
  // Returns once the program waits in its message loop with nothing to do.
  WaitForInputIdle(info.hProcess, 30000);
  FoundWindow found{info.dwProcessId, nullptr};
  // The window exists before the loop starts, so one look normally finds
  // it; a few more cover a slow start without waiting for a fixed time.
  for (int attempt = 0; attempt < 200 && found.window == nullptr; ++attempt) {
    EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) {
      if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) {
        break;  // ended without a window
      }
    }
  }
  program.main_window = found.window;
  return program;
}

DWORD wait_for_exit(const KernelHandle& process) {
  EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  DWORD exit_code = STILL_ACTIVE;
  GetExitCodeProcess(process.get(), &exit_code);
  return exit_code;
}

TEST(PiconelProgram, ShowsMainWindowAndExitsWithZeroOnClose) {
  RunningProgram program = start_program();
  ASSERT_TRUE(program.process.valid());
  ASSERT_NE(program.main_window, nullptr) << "no main window of class piconel";

  wchar_t title[128] = {};
  GetWindowTextW(program.main_window, title, 128);
  // ピコネル - [(新規)]
  EXPECT_STREQ(title, L"\x30d4\x30b3\x30cd\x30eb - [(\x65b0\x898f)]");
  EXPECT_TRUE(IsWindowVisible(program.main_window));
  RECT rect{};
  GetWindowRect(program.main_window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 512);
  EXPECT_EQ(rect.bottom - rect.top, 512);
  // Wine keeps menus per process, so only the presence of the bar is
  // visible from here; its items are checked from the resources above.
  EXPECT_NE(GetMenu(program.main_window), nullptr);

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, ExitCommandEndsTheProgram) {
  RunningProgram program = start_program();
  ASSERT_TRUE(program.process.valid());
  ASSERT_NE(program.main_window, nullptr);

  PostMessageW(program.main_window, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

}  // namespace
}  // namespace piconel

#endif  // PICONEL_EXE_PATH
