// Runs the built piconel.exe under Wine: its resources read back as the
// right Japanese text; a copy in a folder of its own starts, shows its main
// window where its settings file says, and, closed, ends with exit code 0
// after writing the window state into that settings file. With a project on
// its command line it opens it, saves it and runs its output.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "cli/fake_console.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

#ifdef PICONEL_EXE_PATH

namespace piconel {
namespace {

// The build hands over Unix paths under Wine (mapped to drive Z:) or Windows
// paths with forward slashes on Windows (ASCII in both cases).
std::wstring build_path(std::string_view path) {
  std::wstring wide = path.front() == '/' ? L"Z:" : L"";
  for (const char c : path) {
    wide.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

std::string to_narrow_ascii(std::wstring_view wide) {
  std::string narrow;
  for (const wchar_t c : wide) {
    narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return narrow;
}

std::wstring exe_path() {
  return build_path(PICONEL_EXE_PATH);
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
         kSeparator,
         // 詰めて配置...
         {IDM_PACK_PAGE, L"\x8a70\x3081\x3066\x914d\x7f6e..."},
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
  const wchar_t* class_name;
  HWND window;
};

BOOL CALLBACK find_window_of_process(HWND window, LPARAM lparam) {
  auto* found = reinterpret_cast<FoundWindow*>(lparam);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  if (process_id == found->process_id && std::wstring(class_name) == found->class_name) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// A started piconel.exe.
struct RunningProgram {
  KernelHandle process;
  KernelHandle thread;
  DWORD process_id = 0;
  HWND main_window = nullptr;

  // The program's top-level window of the class; null if the program ends
  // first or none shows up in `looks` looks.
  [[nodiscard]] HWND find_window(const wchar_t* class_name, int looks = 200) const {
    FoundWindow found{process_id, class_name, nullptr};
    // The program is idle, so its windows normally exist at the first look;
    // the further looks only cover a slow start, without a fixed wait.
    for (int look = 0; look < looks && found.window == nullptr; ++look) {
      EnumWindows(find_window_of_process, reinterpret_cast<LPARAM>(&found));
      if (found.window == nullptr && WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0) {
        break;
      }
    }
    return found.window;
  }
};

// Starts the program with `arguments` after its quoted name and waits until
// it is idle in a message loop; with `expect_main_window` also finds its main
// window (class "piconel").
RunningProgram start_program(const std::wstring& exe, bool expect_main_window = true,
                             const std::wstring& arguments = L"") {
  RunningProgram program;
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) {
    command_line += L" " + arguments;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Wine now and then refuses a process start with ERROR_INTERNAL_ERROR
  // while the previous test's program is still being torn down; a later
  // attempt succeeds.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) {
      Sleep(200);
    }
    started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info) != FALSE;
    error = started ? 0 : GetLastError();
  }
  if (!started) {
    ADD_FAILURE() << "CreateProcessW failed: " << error;
    return program;
  }
  program.process.reset(info.hProcess);
  program.thread.reset(info.hThread);
  program.process_id = info.dwProcessId;
  WaitForInputIdle(info.hProcess, 30000);
  if (expect_main_window) {
    program.main_window = program.find_window(L"piconel");
  }
  return program;
}

DWORD wait_for_exit(const KernelHandle& process) {
  EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  DWORD exit_code = STILL_ACTIVE;
  GetExitCodeProcess(process.get(), &exit_code);
  return exit_code;
}

// A folder of its own holding a copy of piconel.exe, so that the settings
// file beside the program belongs to the test.
class ProgramFolder {
 public:
  ProgramFolder() {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) {
      return;
    }
    folder_ = std::wstring(temp) + L"piconel_exe_test\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    exe_ = folder_ + L"piconel.exe";
    settings_ = folder_ + L"piconel.ini";
    if (!CopyFileW(exe_path().c_str(), exe_.c_str(), FALSE)) {
      exe_.clear();
    }
    DeleteFileW(settings_.c_str());
  }
  ~ProgramFolder() {
    for (auto file = files_.rbegin(); file != files_.rend(); ++file) {
      DeleteFileW(file->c_str());
    }
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      RemoveDirectoryW(folder->c_str());
    }
    DeleteFileW(settings_.c_str());
    DeleteFileW(exe_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  [[nodiscard]] const std::wstring& exe() const { return exe_; }
  [[nodiscard]] const std::wstring& folder() const { return folder_; }

  // A subfolder (`name` relative to the program folder) removed at the end.
  std::wstring make_folder(const std::wstring& name) {
    const std::wstring path = folder_ + name;
    CreateDirectoryW(path.c_str(), nullptr);
    folders_.push_back(path);
    return path;
  }

  // A file removed at the end, written with `bytes`.
  std::wstring write_file(const std::wstring& name, std::string_view bytes) {
    const std::wstring path = track_file(name);
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file.valid());
    DWORD written = 0;
    EXPECT_TRUE(
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    return path;
  }

  // A copy of `source`, removed at the end.
  std::wstring copy_file(const std::wstring& source, const std::wstring& name) {
    const std::wstring path = track_file(name);
    EXPECT_TRUE(CopyFileW(source.c_str(), path.c_str(), FALSE)) << GetLastError();
    return path;
  }

  // A file the program writes, removed at the end.
  std::wstring track_file(const std::wstring& name) {
    files_.push_back(folder_ + name);
    return files_.back();
  }

  void write_settings(std::string_view bytes) const {
    FileHandle file(
        CreateFileW(settings_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.valid());
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
  }

  // The settings file's bytes; none when it does not exist.
  [[nodiscard]] std::optional<std::string> read_settings() const {
    FileHandle file(CreateFileW(settings_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) {
      return std::nullopt;
    }
    std::string bytes(65536, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
      return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
  }

 private:
  std::wstring folder_;
  std::wstring exe_;
  std::wstring settings_;
  std::vector<std::wstring> files_;
  std::vector<std::wstring> folders_;
};

// A whole file's bytes; none when it cannot be read.
std::optional<std::string> read_file(const std::wstring& path) {
  FileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

RECT window_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// INFOMATION as every start writes it: "ピコネル設定ファイル", 1.0.8.
constexpr std::string_view kInfoSection =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83"
    "\x8b\r\n"
    "APPLICATIONVERSION=1.0.8\r\n";

TEST(PiconelProgram, NoSettingsFileStartsAtOriginAndWritesOneOnClose) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  RunningProgram program = start_program(folder.exe());
  ASSERT_TRUE(program.process.valid());
  ASSERT_NE(program.main_window, nullptr) << "no main window of class piconel";

  wchar_t title[128] = {};
  GetWindowTextW(program.main_window, title, 128);
  // ピコネル - [(新規)]
  EXPECT_STREQ(title, L"\x30d4\x30b3\x30cd\x30eb - [(\x65b0\x898f)]");
  EXPECT_TRUE(IsWindowVisible(program.main_window));
  const RECT rect = window_rect(program.main_window);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 512);
  EXPECT_EQ(rect.bottom - rect.top, 512);
  // Wine keeps menus per process, so only the presence of the bar is
  // visible from here; its items are checked from the resources above.
  EXPECT_NE(GetMenu(program.main_window), nullptr);
  EXPECT_FALSE(folder.read_settings().has_value()) << "start-up never writes the file";

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);

  const std::optional<std::string> settings = folder.read_settings();
  ASSERT_TRUE(settings.has_value());
  EXPECT_EQ(settings->substr(0, kInfoSection.size()), kInfoSection);
  EXPECT_NE(settings->find("[WINDOW]\r\nMainWindowMode=NORMAL\r\nMainWindowPos=0,0,512,512\r\n"),
            std::string::npos)
      << *settings;
  // The list windows were never placed: no rectangle, so they first open
  // beside the main window next time.
  EXPECT_NE(settings->find("\r\nListColmnWidth=100,100,200\r\n"
                           "ListWindowEnable=0\r\n"
                           "PageColmnWidth=120,36,36,120\r\nPageWindowEnable=0\r\n"),
            std::string::npos)
      << *settings;
}

TEST(PiconelProgram, CompleteSavedPlacementIsApplied) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  folder.write_settings(
      "[WINDOW]\r\nMainWindowPos=100,50,500,350\r\nMainWindowMinPos=-1,-1\r\n"
      "MainWindowMaxPos=-1,-1\r\nListColmnWidth=150\r\nListWindowEnable=1\r\n"
      "PageWindowEnable=1\r\n");
  RunningProgram program = start_program(folder.exe());
  ASSERT_NE(program.main_window, nullptr);

  const RECT rect = window_rect(program.main_window);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right, 500);
  EXPECT_EQ(rect.bottom, 350);
  EXPECT_TRUE(IsWindowVisible(program.main_window));

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
  const std::optional<std::string> settings = folder.read_settings();
  ASSERT_TRUE(settings.has_value());
  // The identity comes first only in a new file; here it is appended.
  EXPECT_NE(settings->find(kInfoSection), std::string::npos);
  EXPECT_NE(settings->find("MainWindowPos=100,50,500,350\r\n"), std::string::npos) << *settings;
  // A single column width changes only the first column.
  EXPECT_NE(settings->find("ListColmnWidth=150,100,200\r\n"), std::string::npos) << *settings;
  // The list windows' open flags go back as they were read.
  EXPECT_NE(settings->find("ListWindowEnable=1\r\n"), std::string::npos) << *settings;
  EXPECT_NE(settings->find("PageWindowEnable=1\r\n"), std::string::npos) << *settings;
}

// A user folder such as C:\Users\José\Downloads: "ë" and "한" have no
// CP932 form (best fit would even make "Zoe", another folder), yet the
// program starts there and reads and writes its settings beside itself.
TEST(PiconelProgram, StartsFromAFolderCp932CannotName) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring name = L"Zo\u00EB\uD55C";
  folder.make_folder(name);
  const std::wstring exe = folder.copy_file(folder.exe(), name + L"\\piconel.exe");
  const std::wstring settings =
      folder.write_file(name + L"\\piconel.ini", "[PROPERTY]\r\nSNAPWIDTH=7\r\n");
  RunningProgram program = start_program(exe);
  ASSERT_TRUE(program.process.valid());
  ASSERT_NE(program.main_window, nullptr) << "no main window: the start-up failed";
  EXPECT_EQ(program.find_window(L"#32770", 1), nullptr) << "a message came up";
  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
  const std::optional<std::string> written = read_file(settings);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->rfind("[PROPERTY]\r\nSNAPWIDTH=7\r\n", 0), 0u) << *written;
  EXPECT_NE(written->find(kInfoSection), std::string::npos) << *written;
  EXPECT_NE(written->find("MainWindowMode=NORMAL"), std::string::npos) << *written;
}

TEST(PiconelProgram, IncompleteSavedPlacementIsIgnored) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  // MainWindowMaxPos missing: the saved rectangle is not used.
  folder.write_settings("[WINDOW]\r\nMainWindowPos=100,50,500,350\r\nMainWindowMinPos=-1,-1\r\n");
  RunningProgram program = start_program(folder.exe());
  ASSERT_NE(program.main_window, nullptr);

  const RECT rect = window_rect(program.main_window);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 512);
  EXPECT_EQ(rect.bottom, 512);

  PostMessageW(program.main_window, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, MaximizedModeWithoutPositionsMaximizes) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  folder.write_settings("[WINDOW]\r\nMainWindowMode=MAXIMIZED\r\n");
  RunningProgram program = start_program(folder.exe());
  ASSERT_NE(program.main_window, nullptr);

  // The maximize command is posted before the loop starts; the program is
  // idle only after it has handled it.
  EXPECT_TRUE(IsZoomed(program.main_window));

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
  const std::optional<std::string> settings = folder.read_settings();
  ASSERT_TRUE(settings.has_value());
  EXPECT_NE(settings->find("MainWindowMode=MAXIMIZED\r\n"), std::string::npos) << *settings;
}

TEST(PiconelProgram, UnreadableSettingsFileEndsWithCodeOne) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  // A key before any section header does not parse.
  folder.write_settings("MainWindowMode=NORMAL\r\n[WINDOW]\r\n");
  RunningProgram program = start_program(folder.exe(), false);
  ASSERT_TRUE(program.process.valid());
  // The program waits in an ownerless error box, before any main window.
  const HWND box = program.find_window(L"#32770");
  EXPECT_EQ(program.find_window(L"piconel", 1), nullptr);
  ASSERT_NE(box, nullptr);
  wchar_t caption[64] = {};
  GetWindowTextW(box, caption, 64);
  // ピコネル：設定ファイル
  EXPECT_STREQ(caption, L"\x30d4\x30b3\x30cd\x30eb\xff1a\x8a2d\x5b9a\x30d5\x30a1\x30a4\x30eb");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(wait_for_exit(program.process), 1u);
  // Nothing is written on that path.
  EXPECT_EQ(folder.read_settings(),
            std::optional<std::string>("MainWindowMode=NORMAL\r\n[WINDOW]\r\n"));
}

// A project file with the identification and one page; "ピコネルプロジェクト".
constexpr std::string_view kOnePageProject =
    "[INFOMATION]\r\n"
    "APPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e\x83"
    "\x67\r\n"
    "APPLICATIONVERSION=1.0.8\r\n"
    "[PAGELIST]\r\n"
    "page000\r\n";

std::wstring title_of(HWND window) {
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  return title;
}

// "ピコネル - [NAME]"
std::wstring title_for(const std::wstring& name) {
  return L"\x30d4\x30b3\x30cd\x30eb - [" + name + L"]";
}

// Runs a command to its end: the program handles a sent message only in a
// message loop, after the command posted before it has returned.
void run_command_of(HWND main_window, UINT id) {
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(main_window, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 30000,
                                &result),
            0);
}

// The file dialog's name field: a combo box in the explorer-style dialog of
// newer systems, an edit control in older ones.
HWND file_name_field(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, 0x47c);                 // cmb13
  return combo != nullptr ? combo : GetDlgItem(dialog, 0x480);  // edt1
}

void press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The program's dialog once it is shown: a dialog is made visible only after
// its WM_INITDIALOG, so its caption and fields are then set. A sent message
// then lets the dialog's loop finish what it had queued. Null when none shows
// up in a bounded number of looks.
HWND find_shown_dialog(const RunningProgram& program) {
  const HWND dialog = program.find_window(L"#32770");
  for (int look = 0; dialog != nullptr && look < 200 && !IsWindowVisible(dialog); ++look) {
    Sleep(50);
  }
  if (dialog == nullptr || !IsWindowVisible(dialog)) {
    return nullptr;
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
  return dialog;
}

// Looks at the main window's title until it is `expected` (the program
// is busy finishing a command), a bounded number of times.
std::wstring wait_for_title(HWND main_window, const std::wstring& expected) {
  std::wstring title = title_of(main_window);
  for (int look = 0; look < 200 && title != expected; ++look) {
    Sleep(50);
    title = title_of(main_window);
  }
  return title;
}

// A settings file the program may read but not replace (another program
// holds it open): the close says so over the main window, naming the file,
// and the program still ends normally, leaving the file as it was.
TEST(PiconelProgram, SettingsFileThatCannotBeWrittenIsReportedAtClose) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  constexpr std::string_view kBefore = "[PROPERTY]\r\nSNAPWIDTH=7\r\n";
  folder.write_settings(kBefore);
  const testing::HeldFile held(folder.folder() + L"piconel.ini");
  ASSERT_TRUE(held.held());
  RunningProgram program = start_program(folder.exe());
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(program.find_window(L"#32770", 1), nullptr) << "a message came up at the start";

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  const HWND box = find_shown_dialog(program);
  ASSERT_NE(box, nullptr) << "the close said nothing";
  EXPECT_EQ(GetWindow(box, GW_OWNER), program.main_window);
  // ピコネル：設定ファイル
  EXPECT_EQ(title_of(box), L"\x30d4\x30b3\x30cd\x30eb\xff1a\x8a2d\x5b9a\x30d5\x30a1\x30a4\x30eb");
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  // 設定ファイルの保存に失敗しました。
  EXPECT_EQ(std::wstring(text),
            L"\x8a2d\x5b9a\x30d5\x30a1\x30a4\x30eb\x306e\x4fdd\x5b58\x306b"
            L"\x5931\x6557\x3057\x307e\x3057\x305f\x3002\r\n\r\n" +
                folder.folder() + L"piconel.ini");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
  EXPECT_EQ(folder.read_settings(), std::optional<std::string>(kBefore));
}

TEST(PiconelProgram, ProjectOnTheCommandLineIsOpenedSavedAndReplacedByNew) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring project = folder.write_file(L"game.ijp", kOnePageProject);
  RunningProgram program = start_program(folder.exe(), true, L"\"" + project + L"\"");
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(title_of(program.main_window), title_for(L"game"));

  // Save writes the project under its name, with the current page.
  run_command_of(program.main_window, IDM_PROJECT_SAVE);
  const std::optional<std::string> saved = read_file(project);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->substr(0, kOnePageProject.size()), kOnePageProject);
  EXPECT_NE(saved->find("[PROPERTY]\r\nCURRENTPAGE=0\r\n"), std::string::npos) << *saved;
  EXPECT_EQ(title_of(program.main_window), title_for(L"game"));

  // New: an untitled project; nothing was changed, so nothing is asked.
  run_command_of(program.main_window, IDM_PROJECT_NEW);
  EXPECT_EQ(title_of(program.main_window), title_for(L"(\x65b0\x898f)"));

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, UnquotedArgumentWithBlanksIsOnePath) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring project = folder.write_file(L"my game.ijp", kOnePageProject);
  RunningProgram program = start_program(folder.exe(), true, project);
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(title_of(program.main_window), title_for(L"my game"));
  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, TooLongArgumentEndsWithMinusOne) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  RunningProgram program = start_program(folder.exe(), false, std::wstring(260, L'a'));
  ASSERT_TRUE(program.process.valid());
  // An ownerless box before any main window.
  const HWND box = program.find_window(L"#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program.find_window(L"piconel", 1), nullptr);
  EXPECT_EQ(title_of(box), L"\x30d4\x30b3\x30cd\x30eb");  // ピコネル
  wchar_t text[128] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 128);
  EXPECT_STREQ(text, L"\x5f15\x6570\x304c\x9577\x3059\x304e\x307e\x3059");  // 引数が長すぎます
  press(box, IDOK);
  EXPECT_EQ(wait_for_exit(program.process), static_cast<DWORD>(-1));
  EXPECT_FALSE(folder.read_settings().has_value());
}

TEST(PiconelProgram, LongestArgumentIsStillOpened) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  // 259 bytes: a project that does not exist, so the open fails with the
  // load error (no owner window yet) and the program goes on untitled.
  const std::wstring missing = folder.folder() + std::wstring(259 - folder.folder().size(), L'x');
  RunningProgram program = start_program(folder.exe(), false, missing);
  const HWND box = program.find_window(L"#32770");
  ASSERT_NE(box, nullptr);
  // ピコネル：プロジェクト
  EXPECT_EQ(title_of(box), L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8");
  press(box, IDOK);
  program.main_window = program.find_window(L"piconel");
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(title_of(program.main_window), title_for(L"(\x65b0\x898f)"));
  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, SaveAsAsksForTheNameAndRetitles) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring project = folder.write_file(L"game.ijp", kOnePageProject);
  const std::wstring renamed = folder.track_file(L"renamed.ijp");
  RunningProgram program = start_program(folder.exe(), true, project);
  ASSERT_NE(program.main_window, nullptr);

  PostMessageW(program.main_window, WM_COMMAND, MAKEWPARAM(IDM_PROJECT_SAVE_AS, 0), 0);
  const HWND dialog = find_shown_dialog(program);
  ASSERT_NE(dialog, nullptr);
  // ピコネル：プロジェクトを名前を付けて保存
  EXPECT_EQ(title_of(dialog),
            L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x3092\x540d"
            L"\x524d\x3092\x4ed8\x3051\x3066\x4fdd\x5b58");
  const HWND field = file_name_field(dialog);
  ASSERT_NE(field, nullptr);
  // GetWindowTextW does not ask a control of another process for its text.
  wchar_t initial[64] = {};
  SendMessageW(field, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(initial));
  EXPECT_STREQ(initial, L".ijp");
  // Without an extension: the dialog adds the default one, "ijp".
  const std::wstring typed = folder.folder() + L"renamed";
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  press(dialog, IDOK);

  EXPECT_EQ(wait_for_title(program.main_window, title_for(L"renamed")), title_for(L"renamed"));
  const std::optional<std::string> saved = read_file(renamed);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->substr(0, kOnePageProject.size()), kOnePageProject);

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, CancelledOpenDialogKeepsTheProject) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring project = folder.write_file(L"game.ijp", kOnePageProject);
  RunningProgram program = start_program(folder.exe(), true, project);
  ASSERT_NE(program.main_window, nullptr);

  PostMessageW(program.main_window, WM_COMMAND, MAKEWPARAM(IDM_PROJECT_OPEN, 0), 0);
  const HWND dialog = find_shown_dialog(program);
  ASSERT_NE(dialog, nullptr);
  // ピコネル：プロジェクトを開く
  EXPECT_EQ(
      title_of(dialog),
      L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x3092\x958b\x304f");
  press(dialog, IDCANCEL);
  // The command has ended once a sent message gets through again.
  run_command_of(program.main_window, 0);
  EXPECT_EQ(title_of(program.main_window), title_for(L"game"));

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

#ifdef PICONEL_SOURCE_DIR

// The bundled demo's output, through the program's output command, compared
// with the files reviewed when the demo was made (the command line writes the
// same bytes). The demo's project switches the output folder on here. Its
// current page is the first one: the extent the sheet view measures is the
// one the project stores, so the window and the command line agree.
TEST(PiconelProgram, DemoShowsItsLoadedPageAndOutputsTheGoldenFiles) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring source = build_path(PICONEL_SOURCE_DIR);
  std::optional<std::string> demo = read_file(source + L"\\examples\\demo\\demo.ijp");
  ASSERT_TRUE(demo.has_value());
  for (const auto& [from, to] : {std::pair<std::string_view, std::string_view>{
           "OUTPUTENABLE=0\r\nOUTPUTDIR=\r\n", "OUTPUTENABLE=1\r\nOUTPUTDIR=out\r\n"}}) {
    const std::size_t at = demo->find(from);
    ASSERT_NE(at, std::string::npos);
    demo->replace(at, from.size(), to);
  }
  const std::wstring project = folder.write_file(L"demo.ijp", *demo);
  folder.make_folder(L"sprites");
  for (const wchar_t* sprite : {L"coin8.bmp", L"gem24.png", L"heart4.png", L"ship32.bmp",
                                L"\x30bd\x30fc\x30c9.bmp"}) {  // ソード.bmp
    folder.copy_file(source + L"\\examples\\demo\\sprites\\" + sprite,
                     std::wstring(L"sprites\\") + sprite);
  }
  folder.make_folder(L"out");
  const wchar_t* outputs[] = {L"page000.bmp", L"page001.bmp",    L"imgidx.h",
                              L"imgtable.h",  L"imgtable_l.bin", L"imgtable_b.bin"};
  for (const wchar_t* output : outputs) {
    folder.track_file(std::wstring(L"out\\") + output);
  }

  RunningProgram program = start_program(folder.exe(), true, project);
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(title_of(program.main_window), title_for(L"demo"));
  // The status bar's first part (WM_GETTEXT crosses processes, SB_GETTEXT
  // does not) tells that the page's four images were loaded and measured.
  const HWND status_bar = FindWindowExW(program.main_window, nullptr, STATUSCLASSNAMEW, nullptr);
  ASSERT_NE(status_bar, nullptr);
  wchar_t summary[64] = {};
  SendMessageW(status_bar, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(summary));
  EXPECT_STREQ(summary, L"(56,24) 16\x8272 4\x679a");  // (56,24) 16色 4枚
  run_command_of(program.main_window, IDM_OUTPUT);
  // No error box came up.
  EXPECT_EQ(program.find_window(L"#32770", 1), nullptr);

  for (const wchar_t* output : outputs) {
    SCOPED_TRACE(to_narrow_ascii(output));
    const std::optional<std::string> written = read_file(folder.folder() + L"out\\" + output);
    ASSERT_TRUE(written.has_value());
    const std::optional<std::string> golden =
        read_file(source + L"\\tests\\cli\\golden\\demo\\" + output);
    ASSERT_TRUE(golden.has_value());
    EXPECT_EQ(written->size(), golden->size());
    EXPECT_TRUE(*written == *golden);
  }

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
  // Closed without changes: no prompt, and the window state was written.
  const std::optional<std::string> settings = folder.read_settings();
  ASSERT_TRUE(settings.has_value());
  EXPECT_NE(settings->find("\r\nMainWindowMode=NORMAL\r\n"), std::string::npos) << *settings;
}

#endif  // PICONEL_SOURCE_DIR

// The command line and the window on the same project files: the command
// line runs here, in this process, with the same code as piconel-cli.exe.

// A 24-bit bitmap file of one colour (0x00RRGGBB).
std::string one_colour_bitmap(int width, int height, std::uint32_t colour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const int size = 54 + stride * height;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  const auto put = [&](int at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      bytes[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
  };
  put(0, 'B' | ('M' << 8), 2);
  put(2, static_cast<std::uint32_t>(size), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      put(54 + y * stride + x * 3, colour, 3);
    }
  }
  return bytes;
}

int run_piconel_cli(std::vector<std::string> arguments, std::string* output = nullptr) {
  test::FakeConsole console;
  CliInvocation invocation;
  invocation.arguments = std::move(arguments);
  const int status = run_cli(invocation, console);
  EXPECT_EQ(console.errors, "");
  if (output != nullptr) {
    *output = console.outputs;
  }
  return status;
}

// The status bar's first part: "(W,H) N色 M枚" for the current page.
std::wstring page_summary(HWND main_window) {
  const HWND status_bar = FindWindowExW(main_window, nullptr, STATUSCLASSNAMEW, nullptr);
  wchar_t summary[64] = {};
  if (status_bar != nullptr) {
    SendMessageW(status_bar, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(summary));
  }
  return summary;
}

// The extent and the image count of a page summary.
struct Summary {
  int width = -1;
  int height = -1;
  int images = -1;
};
Summary parse_summary(const std::wstring& text) {
  Summary summary;
  int colours = 0;
  swscanf(text.c_str(), L"(%d,%d) %d\x8272 %d\x679a", &summary.width, &summary.height, &colours,
          &summary.images);
  return summary;
}

TEST(PiconelProgram, ProjectMadeByTheCommandLineOpensInTheWindowAsMade) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  std::vector<std::string> sprites;
  for (const auto& [name, width, height] :
       {std::tuple{L"hero.bmp", 32, 16}, std::tuple{L"coin.bmp", 16, 24},
        std::tuple{L"1-up.bmp", 8, 8}}) {
    sprites.push_back(
        to_cp932(folder.write_file(name, one_colour_bitmap(width, height, 0xC03020))));
  }
  const std::string project = to_cp932(folder.track_file(L"made.ijp"));
  ASSERT_EQ(run_piconel_cli({"new", project, "--out-dir", "out"}), 0);
  ASSERT_EQ(run_piconel_cli({"add", project, "--page", "more", sprites[2]}), 0);
  ASSERT_EQ(run_piconel_cli({"add", project, "--page", "sprites", "--label-from-name", sprites[0],
                             sprites[1], sprites[2]}),
            0);
  const std::optional<std::string> made = read_file(to_wide(project));
  ASSERT_TRUE(made.has_value());

  RunningProgram program = start_program(folder.exe(), true, to_wide(project));
  ASSERT_NE(program.main_window, nullptr);
  EXPECT_EQ(title_of(program.main_window), title_for(L"made"));
  // The page the command line left current, its three images side by side.
  const Summary shown = parse_summary(page_summary(program.main_window));
  EXPECT_EQ(shown.width, 56);
  EXPECT_EQ(shown.height, 24);
  EXPECT_EQ(shown.images, 3);
  // Saved by the window without a change: every page, row, position, label
  // and setting comes back byte for byte.
  run_command_of(program.main_window, IDM_PROJECT_SAVE);
  const std::optional<std::string> saved = read_file(to_wide(project));
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(*saved == *made) << *saved << "\n---\n" << *made;

  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);
}

TEST(PiconelProgram, ProjectMadeInTheWindowListsOnTheCommandLineAsShown) {
  ProgramFolder folder;
  ASSERT_FALSE(folder.exe().empty());
  const std::wstring hero = folder.write_file(L"hero.bmp", one_colour_bitmap(32, 16, 0x102030));
  const std::wstring coin = folder.write_file(L"coin.bmp", one_colour_bitmap(16, 24, 0x405060));
  const std::wstring project = folder.write_file(L"window.ijp", kOnePageProject);
  RunningProgram program = start_program(folder.exe(), true, project);
  ASSERT_NE(program.main_window, nullptr);

  // Each image through the window's own add dialog, placed automatically.
  int added = 0;
  for (const std::wstring& image : {hero, coin}) {
    PostMessageW(program.main_window, WM_COMMAND, MAKEWPARAM(IDM_ADD_IMAGE, 0), 0);
    const HWND dialog = find_shown_dialog(program);
    ASSERT_NE(dialog, nullptr);
    const HWND field = file_name_field(dialog);
    ASSERT_NE(field, nullptr);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(image.c_str()));
    press(dialog, IDOK);
    ++added;
    for (int look = 0;
         look < 200 && parse_summary(page_summary(program.main_window)).images != added; ++look) {
      Sleep(50);
    }
  }
  const Summary shown = parse_summary(page_summary(program.main_window));
  ASSERT_EQ(shown.images, 2);
  run_command_of(program.main_window, IDM_PROJECT_SAVE);
  PostMessageW(program.main_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(wait_for_exit(program.process), 0u);

  std::string listed;
  ASSERT_EQ(run_piconel_cli({"list", "--json", to_cp932(project)}, &listed), 0);
  const nlohmann::json document = nlohmann::json::parse(listed, nullptr, false);
  ASSERT_FALSE(document.is_discarded()) << listed;
  const nlohmann::json& page = document["pages"][0];
  EXPECT_EQ(page["used"]["width"], shown.width);
  EXPECT_EQ(page["used"]["height"], shown.height);
  ASSERT_EQ(page["images"].size(), 2u);
  EXPECT_EQ(page["images"][0]["x"], 0);
  EXPECT_EQ(page["images"][0]["label"], "HERO");
  EXPECT_EQ(page["images"][1]["x"], 32);
  EXPECT_EQ(page["images"][1]["y"], 0);
  EXPECT_EQ(page["images"][1]["path"], to_narrow_ascii(coin));
}

}  // namespace
}  // namespace piconel

#endif  // PICONEL_EXE_PATH
