// Under Wine, the real main window in-process with real messages: several
// image files chosen in the add dialog opened by a real click on its toolbar
// button, a drop holding a folder, an unreadable file and a path longer than
// the limit (one message names what was not added), a failed open that
// keeps the open project, and a change of the window's DPI.

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "dialog_answerer_win32.h"
#include "drop_files_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "test_window_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::press_button;
using testing::pump_messages;

// A folder of its own under the temporary folder, emptied at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"piconel_adding_scenario\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (auto file = files_.rbegin(); file != files_.rend(); ++file) {
      DeleteFileW(file->c_str());
      RemoveDirectoryW(file->c_str());
    }
    RemoveDirectoryW(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  [[nodiscard]] const std::wstring& path() const { return path_; }
  std::wstring folder(const std::wstring& name) {
    files_.push_back(path_ + name);
    CreateDirectoryW(files_.back().c_str(), nullptr);
    return files_.back();
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

 private:
  std::wstring path_;
  std::vector<std::wstring> files_;
};

// A 24-bit bitmap file of one colour, `side` x `side`.
std::string bmp(int side, std::uint8_t red) {
  const auto put32 = [](std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
  };
  const std::uint32_t stride = (static_cast<std::uint32_t>(side) * 3 + 3) & ~3u;
  const std::uint32_t pixels = stride * static_cast<std::uint32_t>(side);
  std::string bytes = "BM";
  for (const std::uint32_t value :
       {54 + pixels, 0u, 54u, 40u, static_cast<std::uint32_t>(side),
        static_cast<std::uint32_t>(side), 1u | (24u << 16), 0u, pixels, 2835u, 2835u, 0u, 0u}) {
    put32(bytes, value);
  }
  for (int y = 0; y < side; ++y) {
    std::string row;
    for (int x = 0; x < side; ++x) {
      row += std::string{'\0', '\0', static_cast<char>(red)};
    }
    row.resize(stride, '\0');
    bytes += row;
  }
  return bytes;
}

// The message box's text (its static control).
std::wstring box_text(HWND box) {
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 2048);
  return text;
}

HWND file_name_field(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, cmb13);
  return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

struct MainWindow {
  explicit MainWindow(std::string_view project_path = {}) {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    open_project(app.project, project_path);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    SetWindowPos(window, HWND_TOP, 0, 0, 420, 320, SWP_NOACTIVATE);
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
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  [[nodiscard]] std::vector<std::string> labels() const {
    std::vector<std::string> result;
    for (const ImageEntry& entry : app.project.images.entries()) {
      result.push_back(entry.settings.label);
    }
    return result;
  }
  [[nodiscard]] std::vector<std::pair<int, int>> positions() const {
    std::vector<std::pair<int, int>> result;
    for (const ImageEntry& entry : app.project.images.entries()) {
      result.emplace_back(entry.x, entry.y);
    }
    return result;
  }

  testing::SettingsFile settings{L"piconel_adding_scenario.ini"};
  App app;
  HWND window = nullptr;
};

// Hardware mouse input: a left click at the screen point.
void click_at(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, width - 1);
    input.mi.dy = MulDiv(point.y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, inputs, sizeof(INPUT));
}

// Runs the message loop until `done` or about five seconds have passed.
bool pump_until(const std::function<bool()>& done) {
  for (int round = 0; round < 100 && !done(); ++round) {
    pump_messages();
    if (!done()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  return done();
}

// The current folder for one test (the open dialog starts in it).
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::wstring& folder) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  wchar_t previous_[MAX_PATH] = {};
};

TEST(AddingScenario, SeveralFilesChosenAfterARealClickOnTheToolbarButton) {
  ScratchFolder folder;
  folder.write(L"first.bmp", bmp(16, 200));
  folder.write(L"second.bmp", bmp(32, 100));
  folder.write(L"broken.bmp", "not a bitmap");
  MainWindow main;
  App& app = main.app;
  ASSERT_NE(main.window, nullptr);
  SetForegroundWindow(main.window);

  std::vector<std::wstring> types;
  std::wstring message;
  DialogAnswerer answerer([&](HWND dialog) {
    if (answerer.dialogs_shown() == 1) {
      // The open dialog: its types, then three names in the user's order.
      const HWND type_box = GetDlgItem(dialog, cmb1);
      const LRESULT count = SendMessageW(type_box, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        if (SendMessageW(type_box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 128) {
          SendMessageW(type_box, CB_GETLBTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text));
        }
        types.emplace_back(text);
      }
      SetWindowTextW(file_name_field(dialog), L"\"second.bmp\" \"broken.bmp\" \"first.bmp\"");
      press_button(dialog, IDOK);
      return;
    }
    message = box_text(dialog);
    press_button(dialog, IDOK);
  });

  // Toolbar item 4: "画像を追加".
  RECT button{};
  ASSERT_TRUE(
      SendMessageW(app.controls.toolbar, TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&button)));
  MapWindowPoints(app.controls.toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
  {
    CurrentFolder current(folder.path());
    // The system opens the dialog where this program last chose a file; an
    // earlier run of the tests leaves another folder there. As on a first
    // run, the dialog starts in the current folder.
    RegDeleteTreeW(
        HKEY_CURRENT_USER,
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU");
    click_at({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    ASSERT_TRUE(pump_until([&] { return answerer.dialogs_shown() >= 2; }))
        << "the click opened no dialog, or no message followed";
  }
  EXPECT_FALSE(answerer.watchdog_fired());
  // 画像ファイル (*.bmp;*.png;*.gif) first, then すべてのファイル (*.*).
  ASSERT_GE(types.size(), 2u);
  EXPECT_EQ(types[0], L"\x753b\x50cf\x30d5\x30a1\x30a4\x30eb (*.bmp;*.png;*.gif)");
  EXPECT_EQ(types[1], L"\x3059\x3079\x3066\x306e\x30d5\x30a1\x30a4\x30eb (*.*)");

  // In the dialog's order, one cursor along the row; the broken one named.
  EXPECT_EQ(main.labels(), (std::vector<std::string>{"SECOND", "FIRST"}));
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{0, 0}, {32, 0}}));
  EXPECT_TRUE(app.project.modified);
  // 次のファイルは追加できませんでした。 ... broken.bmp (読み込めません)
  EXPECT_EQ(message.rfind(L"\x6b21\x306e\x30d5\x30a1\x30a4\x30eb", 0), 0u) << to_cp932(message);
  EXPECT_NE(
      message.find(folder.path() + L"broken.bmp (\x8aad\x307f\x8fbc\x3081\x307e\x305b\x3093)"),
      std::wstring::npos)
      << to_cp932(message);
  EXPECT_EQ(message.find(L"first.bmp"), std::wstring::npos);
}

TEST(AddingScenario, DropAddsAFoldersImagesAndNamesWhatWasRefused) {
  ScratchFolder folder;
  const std::wstring single = folder.write(L"single.bmp", bmp(8, 10));
  const std::wstring unreadable = folder.write(L"unreadable.bmp", "BM cut off");
  const std::wstring sprites = folder.folder(L"sprites");
  folder.write(L"sprites\\b.bmp", bmp(16, 20));
  folder.write(L"sprites\\A.bmp", bmp(16, 30));
  folder.write(L"sprites\\notes.txt", "not an image");
  folder.folder(L"sprites\\inner");
  folder.write(L"sprites\\inner\\c.bmp", bmp(16, 40));
  const std::wstring empty = folder.folder(L"empty");
  // 300 characters: more than a path may hold; never cut and tried.
  const std::wstring too_long = folder.path() + std::wstring(280, L'x') + L"\\long.bmp";

  std::wstring message;
  DialogAnswerer answerer([&](HWND box) {
    message = box_text(box);
    press_button(box, IDOK);
  });
  MainWindow main;
  SendMessageW(
      main.window, WM_DROPFILES,
      reinterpret_cast<WPARAM>(test::make_drop({single, too_long, sprites, unreadable, empty})), 0);
  pump_messages();
  // The folder's images directly inside it, in name order, where it was
  // dropped among the others.
  EXPECT_EQ(main.labels(), (std::vector<std::string>{"SINGLE", "A", "B"}));
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{0, 0}, {8, 0}, {24, 0}}));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  const std::wstring lines[] = {
      // パスが長すぎます (259 バイトまで)
      too_long +
          L" (\x30d1\x30b9\x304c\x9577\x3059\x304e\x307e\x3059 (259 \x30d0\x30a4\x30c8"
          L"\x307e\x3067))",
      unreadable + L" (\x8aad\x307f\x8fbc\x3081\x307e\x305b\x3093)",  // 読み込めません
      // 画像ファイルがありません
      empty + L" (\x753b\x50cf\x30d5\x30a1\x30a4\x30eb\x304c\x3042\x308a\x307e\x305b\x3093)",
  };
  for (const std::wstring& line : lines) {
    EXPECT_NE(message.find(L"\r\n" + line), std::wstring::npos) << to_cp932(message);
  }
}

// A project with one image and an added page, modified; opening a file that
// is not a project (through the window's open command) reports it and
// keeps everything, without asking about the unsaved changes.
TEST(OpeningScenario, FailedOpenKeepsTheRowsAndTheModifiedFlag) {
  ScratchFolder folder;
  const std::wstring image = folder.write(L"kept.bmp", bmp(16, 60));
  const std::wstring not_a_project = folder.write(L"notes.ijp", "[PAGELIST]\r\nbad\rline\r\n");
  MainWindow main;
  App& app = main.app;
  SendMessageW(main.window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::make_drop({image})), 0);
  ASSERT_EQ(app.project.images.entries().size(), 1u);
  ASSERT_TRUE(app.project.modified);
  const std::string rows = app.project.store->serialize();
  wchar_t title[128] = {};
  GetWindowTextW(main.window, title, 128);

  std::vector<std::wstring> seen;
  DialogAnswerer answerer([&](HWND dialog) {
    seen.push_back(testing::window_text_of(dialog));
    if (seen.size() == 1) {
      SetWindowTextW(file_name_field(dialog), not_a_project.c_str());
    }
    press_button(dialog, IDOK);
  });
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(IDM_PROJECT_OPEN, 0), 0);
  pump_messages();
  // The open dialog, then the load error; no save question.
  ASSERT_EQ(seen.size(), 2u);
  // ピコネル：プロジェクト
  EXPECT_EQ(seen[1], L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8");
  EXPECT_EQ(app.project.images.entries().size(), 1u);
  EXPECT_EQ(app.project.store->serialize(), rows);
  EXPECT_TRUE(app.project.modified);
  wchar_t after[128] = {};
  GetWindowTextW(main.window, after, 128);
  EXPECT_STREQ(after, title);
}

// WM_DPICHANGED as the system sends it when the window moves to a 150 %
// monitor: the window takes the suggested rectangle, the zoom box and the
// status bar's first part grow with the DPI, the view sits between the bars
// as they now measure, and an image at "x 1" keeps one screen pixel per
// image pixel.
TEST(DpiScenario, WindowFollowsTheDpiAndSpritesKeepTheirPixels) {
  ScratchFolder folder;
  const std::wstring image = folder.write(L"sprite.bmp", bmp(16, 90));
  MainWindow main;
  App& app = main.app;
  SendMessageW(main.window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::make_drop({image})), 0);
  ASSERT_EQ(app.project.images.entries().size(), 1u);
  RECT zoom_before{};
  GetWindowRect(app.controls.zoom_box, &zoom_before);

  for (const int dpi : {144, 96}) {
    SCOPED_TRACE(dpi);
    RECT suggested{30, 20, 30 + 630, 20 + 480};
    SendMessageW(main.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    pump_messages();
    RECT window{};
    GetWindowRect(main.window, &window);
    EXPECT_TRUE(EqualRect(&window, &suggested));

    RECT zoom{};
    GetWindowRect(app.controls.zoom_box, &zoom);
    EXPECT_EQ(zoom.right - zoom.left, MulDiv(50, dpi, 96));
    RECT item{};
    SendMessageW(app.controls.toolbar, TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(app.controls.toolbar, nullptr, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(zoom.left, item.left);
    int parts[2] = {};
    SendMessageW(app.controls.status_bar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    EXPECT_EQ(parts[0], MulDiv(160, dpi, 96));

    RECT client{};
    GetClientRect(main.window, &client);
    RECT toolbar{};
    RECT status{};
    RECT view{};
    GetWindowRect(app.controls.toolbar, &toolbar);
    GetWindowRect(app.controls.status_bar, &status);
    GetWindowRect(app.sheet_view.window(), &view);
    MapWindowPoints(nullptr, main.window, reinterpret_cast<POINT*>(&view), 2);
    EXPECT_EQ(view.top, toolbar.bottom - toolbar.top);
    EXPECT_EQ(view.bottom, client.bottom - (status.bottom - status.top));
    EXPECT_EQ(view.right, client.right);

    // One screen pixel per picture pixel at "x 1" on every monitor.
    EXPECT_TRUE(testing::shows_box(app.sheet_view.window(), RECT{0, 0, 16, 16}, RGB(90, 0, 0)));
  }
  RECT zoom_after{};
  GetWindowRect(app.controls.zoom_box, &zoom_after);
  EXPECT_EQ(zoom_after.right - zoom_after.left, zoom_before.right - zoom_before.left);
}

}  // namespace
}  // namespace piconel
