// Under Wine, the real main window in-process running the output from its
// toolbar button, clicked as hardware input through the message loop: a
// missing output folder is made and the status bar says what went where; an
// output folder that cannot be made ends the run with a message naming it
// and the system's reason, and nothing is written.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/test_window_win32.h"
#include "dialog_answerer_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::press_button;
using testing::pump_messages;

// A folder of its own under the temporary folder; what the test makes in it
// is named on the way and removed at the end, files before folders.
class OutputFolder {
 public:
  OutputFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"piconel_output_scenario\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~OutputFolder() {
    for (auto name = names_.rbegin(); name != names_.rend(); ++name) {
      const std::wstring path = path_ + *name;
      if (!DeleteFileW(path.c_str())) {
        RemoveDirectoryW(path.c_str());
      }
    }
    RemoveDirectoryW(path_.c_str());
  }
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  std::wstring write(const std::wstring& name, const std::string& bytes) {
    FileHandle file(
        CreateFileW(track(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return path_ + name;
  }
  // A name the test may make (or the program may write), removed at the end.
  std::wstring track(const std::wstring& name) {
    names_.push_back(name);
    return path_ + name;
  }
  [[nodiscard]] bool exists(const std::wstring& name) const {
    return GetFileAttributesW((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  [[nodiscard]] const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  std::vector<std::wstring> names_;
};

void put32(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// A 1 x 1 24-bit bitmap file.
std::string one_pixel_bitmap() {
  std::string bytes = "BM";
  for (const std::uint32_t value :
       {58u, 0u, 54u, 40u, 1u, 1u, 1u | (24u << 16), 0u, 4u, 2835u, 2835u, 0u, 0u}) {
    put32(bytes, value);
  }
  bytes += std::string("\x00\xff\x00\x00", 4);
  return bytes;
}

// A project of one-image pages (by default "first" and "second") writing
// into OUTPUTDIR `output_dir`, with the label header on.
std::string project_text(const std::string& output_dir,
                         const std::vector<std::string>& pages = {"first", "second"}) {
  std::string text =
      "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d\x83\x57"
      "\x83\x46\x83\x4e\x83\x67\r\nAPPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\n";
  for (const std::string& page : pages) {
    text += page + "\r\n";
  }
  text += "[PROPERTY]\r\nOUTPUTENABLE=1\r\nOUTPUTDIR=" + output_dir + "\r\nOUTPUT_LABEL=1\r\n";
  for (const std::string& page : pages) {
    text += "[PROPERTY:" + page + "]\r\nPUTIMAGEWIDTH=1\r\nPUTIMAGEHEIGHT=1\r\n" +
            "[FILELIST:" + page + "]\r\na.bmp\t0\t0\r\n";
  }
  return text;
}

std::wstring status_text(const App& app, int part) {
  wchar_t text[512] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

struct MainWindow {
  explicit MainWindow(const std::wstring& project_path) {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    open_project(app.project, to_cp932(project_path));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, update_title(app.project));
    SetWindowPos(window, nullptr, 0, 0, 420, 320, SWP_NOZORDER);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    pump_messages();
  }
  ~MainWindow() {
    if (IsWindow(window)) {
      app.project.modified = false;  // no question at the end
      DestroyWindow(window);
    }
    pump_messages();
  }

  // A click on the toolbar's output button as hardware input, taken
  // through the message loop (the run and its message boxes inside it).
  void click_output_button() {
    SetForegroundWindow(window);
    pump_messages();
    RECT button{};
    ASSERT_TRUE(SendMessageW(app.controls.toolbar, TB_GETRECT, IDM_OUTPUT,
                             reinterpret_cast<LPARAM>(&button)));
    POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(app.controls.toolbar, &centre);
    SetCursorPos(centre.x, centre.y);
    INPUT clicks[2] = {};
    clicks[0].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].type = INPUT_MOUSE;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    // The input reaches the queue shortly after.
    for (int round = 0; round < 20; ++round) {
      pump_messages();
      Sleep(10);
    }
  }

  testing::SettingsFile settings{L"piconel_output_scenario.ini"};
  App app;
  HWND window = nullptr;
};

// 出力しました:
const std::wstring kDone = L"\x51fa\x529b\x3057\x307e\x3057\x305f: ";

TEST(OutputScenario, MissingFolderMadeAndTheStatusBarSaysWhere) {
  OutputFolder folder;
  folder.write(L"a.bmp", one_pixel_bitmap());
  const std::wstring project = folder.write(L"game.ijp", project_text("made\\here"));
  folder.track(L"made");
  folder.track(L"made\\here");
  for (const wchar_t* name : {L"first.bmp", L"second.bmp", L"imgidx.h"}) {
    folder.track(std::wstring(L"made\\here\\") + name);
  }
  MainWindow main(project);
  ASSERT_FALSE(folder.exists(L"made"));

  main.click_output_button();

  for (const wchar_t* name : {L"first.bmp", L"second.bmp", L"imgidx.h"}) {
    EXPECT_TRUE(folder.exists(std::wstring(L"made\\here\\") + name));
    // Never beside the project instead.
    EXPECT_FALSE(folder.exists(name));
  }
  // 出力しました: 2ページ → FOLDER
  EXPECT_EQ(status_text(main.app, 1),
            kDone + L"2\x30da\x30fc\x30b8 \x2192 " + folder.path() + L"made\\here");
}

// 出力中:
const std::wstring kRunning = L"\x51fa\x529b\x4e2d: ";

// The status bar's part 1 each time `window` paints itself: what the user
// sees then, whoever has the paint message handled (the message loop or the
// output run). With `uncover` given, that window is made to need painting
// the first time the progress shows, as when the user moves another window
// away from it in the middle of the run.
class PaintWatch {
 public:
  PaintWatch(const App& app, HWND window, HWND uncover = nullptr)
      : app_(app),
        window_(window),
        uncover_(uncover),
        subclassed_(SetWindowSubclass(window, painted, 0, reinterpret_cast<DWORD_PTR>(this)) !=
                    FALSE) {}
  ~PaintWatch() {
    if (subclassed_) {
      RemoveWindowSubclass(window_, painted, 0);
    }
  }
  PaintWatch(const PaintWatch&) = delete;
  PaintWatch& operator=(const PaintWatch&) = delete;
  [[nodiscard]] bool subclassed() const { return subclassed_; }
  [[nodiscard]] const std::vector<std::wstring>& texts() const { return texts_; }

 private:
  static LRESULT CALLBACK painted(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                  DWORD_PTR data) {
    if (message == WM_PAINT) {
      auto* self = reinterpret_cast<PaintWatch*>(data);
      const std::wstring text = status_text(self->app_, 1);
      if (self->texts_.empty() || self->texts_.back() != text) {
        self->texts_.push_back(text);
      }
      if (self->uncover_ != nullptr && text.rfind(kRunning, 0) == 0) {
        InvalidateRect(self->uncover_, nullptr, FALSE);
        self->uncover_ = nullptr;
      }
    }
    return DefSubclassProc(window, message, wparam, lparam);
  }

  const App& app_;
  HWND window_;
  HWND uncover_;
  bool subclassed_;
  std::vector<std::wstring> texts_;
};

TEST(OutputScenario, StatusBarShowsPageProgressWhileTheOutputRuns) {
  OutputFolder folder;
  folder.write(L"a.bmp", one_pixel_bitmap());
  std::vector<std::string> pages;
  for (int page = 0; page < 40; ++page) {
    pages.push_back("p" + std::to_string(page));
    folder.track(L"out\\" + to_wide(pages.back()) + L".bmp");
  }
  const std::wstring project = folder.write(L"game.ijp", project_text("out", pages));
  folder.track(L"out");
  folder.track(L"out\\imgidx.h");
  MainWindow main(project);
  const HWND view = main.app.sheet_view.window();
  PaintWatch paints(main.app, main.app.controls.status_bar, view);
  PaintWatch view_paints(main.app, view);
  ASSERT_TRUE(paints.subclassed());
  ASSERT_TRUE(view_paints.subclassed());

  main.click_output_button();

  // 出力中: N / 40ページ, painted while the pages were written, N rising.
  const std::wstring pages_word = L" / 40\x30da\x30fc\x30b8";
  std::vector<int> shown;
  for (const std::wstring& text : paints.texts()) {
    if (text.rfind(kRunning, 0) == 0) {
      ASSERT_EQ(text.substr(text.size() - pages_word.size()), pages_word) << to_cp932(text);
      shown.push_back(std::stoi(text.substr(kRunning.size())));
    }
  }
  std::string seen;
  for (const std::wstring& text : paints.texts()) {
    seen += to_cp932(text) + "\n";
  }
  ASSERT_FALSE(shown.empty()) << seen;
  EXPECT_EQ(shown.front(), 1);
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_LE(shown.back(), 40);
  // Then what was written where, painted too.
  const std::wstring done = kDone + L"40\x30da\x30fc\x30b8 \x2192 " + folder.path() + L"out";
  EXPECT_EQ(status_text(main.app, 1), done);
  EXPECT_EQ(paints.texts().back(), done);
  EXPECT_TRUE(folder.exists(L"out\\p39.bmp"));
  // The sheet, uncovered in the middle of the run, was painted in it.
  ASSERT_FALSE(view_paints.texts().empty());
  EXPECT_EQ(view_paints.texts().front().rfind(kRunning, 0), 0u)
      << to_cp932(view_paints.texts().front());
}

TEST(OutputScenario, FolderThatCannotBeMadeIsReportedAndNothingWritten) {
  OutputFolder folder;
  folder.write(L"a.bmp", one_pixel_bitmap());
  folder.write(L"taken", "x");
  const std::wstring project = folder.write(L"game.ijp", project_text("taken\\sub"));
  for (const wchar_t* name : {L"first.bmp", L"second.bmp", L"imgidx.h"}) {
    folder.track(name);  // only should the run write beside the project
  }
  MainWindow main(project);
  std::vector<std::wstring> captions;
  std::vector<std::wstring> messages;
  DialogAnswerer answerer([&](HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    captions.push_back(testing::window_text_of(box));
    messages.emplace_back(text);
    press_button(box, IDOK);
  });
  ASSERT_TRUE(answerer.hooked());

  main.click_output_button();

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(captions[0], L"\x30d4\x30b3\x30cd\x30eb\xff1a\x51fa\x529b");  // ピコネル：出力
  // 出力フォルダを作成できません: FOLDER, then the system's reason.
  const std::wstring heading =
      L"\x51fa\x529b\x30d5\x30a9\x30eb\x30c0\x3092\x4f5c\x6210\x3067"
      L"\x304d\x307e\x305b\x3093: " +
      folder.path() + L"taken\\sub\n";
  EXPECT_EQ(messages[0].substr(0, heading.size()), heading);
  EXPECT_GT(messages[0].size(), heading.size());
  for (const wchar_t* name : {L"first.bmp", L"second.bmp", L"imgidx.h"}) {
    EXPECT_FALSE(folder.exists(name));
  }
  EXPECT_EQ(status_text(main.app, 1).find(kDone), std::wstring::npos);
}

}  // namespace
}  // namespace piconel
