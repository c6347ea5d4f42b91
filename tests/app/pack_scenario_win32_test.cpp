// Under Wine, "詰めて配置..." on a real main window through real input: the
// 編集 menu opened with the keyboard, the command chosen, the padding typed
// into the dialog and Enter pressed; then the sheet, the status bar, the
// remembered choices and the positions in the saved file.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/commands_win32.h"
#include "app/test_window_win32.h"
#include "canvas/entry_picture_win32.h"
#include "dialog_answerer_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::pump_messages;

// Four 32 x 32 placeholders (missing files with a forced size) spread over
// the sheet of page000.
class SpreadProject {
 public:
  SpreadProject() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"piconel_pack_scenario.ijp";
    std::string text =
        "[INFOMATION]\r\nAPPLICATIONNAME=\x83\x73\x83\x52\x83\x6c\x83\x8b\x83\x76\x83\x8d"
        "\x83\x57\x83\x46\x83\x4e\x83\x67\r\nAPPLICATIONVERSION=1.0.8\r\n"  // ピコネルプロジェクト
        "[PAGELIST]\r\npage000\r\n[FILELIST:page000]\r\n";
    const std::pair<int, int> places[] = {{0, 0}, {150, 10}, {20, 170}, {200, 200}};
    int n = 0;
    for (const auto& [x, y] : places) {
      text += "C:\\nowhere\\img" + std::to_string(n++) + ".bmp\t" + std::to_string(x) + "\t" +
              std::to_string(y) + "\t\t1\t32\t32\t0\t0\r\n";
    }
    write(text);
  }
  ~SpreadProject() { DeleteFileW(path_.c_str()); }
  [[nodiscard]] std::string cp932() const { return to_cp932(path_); }
  [[nodiscard]] std::string read() const {
    FileHandle file(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    std::string bytes(65536, '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
  }

 private:
  void write(const std::string& text) const {
    FileHandle file(
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  std::wstring path_;
};

void key(WORD virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

void tap(WORD virtual_key) {
  key(virtual_key, false);
  key(virtual_key, true);
}

// Real input arrives through the system's queue a little later: handles
// messages until `done` says so or two seconds have passed.
template <typename Done>
bool pump_until(Done done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 2000) {
    pump_messages();
    Sleep(10);
  }
  return done();
}

std::wstring status_text(const App& app, int part) {
  wchar_t text[256] = {};
  SendMessageW(app.controls.status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(PackScenario, MenuDialogSheetAndSavedFile) {
  SpreadProject project;
  testing::SettingsFile settings(L"piconel_pack_scenario.ini");
  App app;
  ASSERT_TRUE(app.settings.load(settings.cp932(), true));
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  static const bool registered = register_main_window_class(instance);
  ASSERT_TRUE(registered);
  HWND window = nullptr;
  {
    // The missing files, when the page is loaded into the new view: Cancel
    // silences the prompt for the rest.
    DialogAnswerer answerer([](HWND dialog) { testing::press_button(dialog, IDCANCEL); });
    open_project(app.project, project.cp932());
    window = create_main_window(app, instance, update_title(app.project));
  }
  SetWindowPos(window, nullptr, 0, 0, 480, 360, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  pump_messages();
  ASSERT_EQ(app.project.images.entries().size(), 4u);

  // 編集 (Alt+E), the last item (Up from the top wraps to it), Enter; in the
  // dialog, "2" replaces the padding and Enter is OK.
  std::wstring caption;
  {
    DialogAnswerer answerer([&](HWND dialog) {
      caption = testing::window_text_of(dialog);
      tap('2');
      tap(VK_RETURN);
    });
    key(VK_MENU, false);
    tap('E');
    key(VK_MENU, true);
    tap(VK_UP);
    tap(VK_RETURN);
    ASSERT_TRUE(pump_until([&] { return app.project.modified; })) << "the command did not run";
    EXPECT_EQ(caption, L"\x8a70\x3081\x3066\x914d\x7f6e");  // 詰めて配置
    EXPECT_FALSE(answerer.watchdog_fired());
  }

  // Four 32 px squares 2 px apart: a 66 x 66 box, 4096 / 4356 = 94.0 %.
  std::set<std::pair<int, int>> places;
  for (const ImageEntry& entry : app.project.images.entries()) {
    places.emplace(entry.x, entry.y);
  }
  EXPECT_EQ(places, (std::set<std::pair<int, int>>{{0, 0}, {34, 0}, {0, 34}, {34, 34}}));
  EXPECT_EQ(status_text(app, 0).substr(0, 7), L"(66,66)");
  EXPECT_EQ(status_text(app, 1), L"\x5145\x586b\x7387 94.0%");  // 充填率
  // The view shows the boxes at their new places (zoom x 1, no scrolling):
  // the placeholder's fill just inside each left edge, the sheet in the
  // 2-pixel gaps.
  UpdateWindow(app.sheet_view.window());
  const HDC view_dc = GetDC(app.sheet_view.window());
  for (const ImageEntry& entry : app.project.images.entries()) {
    EXPECT_EQ(GetPixel(view_dc, entry.x + 1, entry.y + 16), kPlaceholderFill) << entry.path;
  }
  EXPECT_EQ(GetPixel(view_dc, 33, 16), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(view_dc, 16, 33), RGB(255, 255, 255));
  ReleaseDC(app.sheet_view.window(), view_dc);

  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SAVE}));
  const std::string saved = project.read();
  for (const char* row : {"img0.bmp\t", "img1.bmp\t", "img2.bmp\t", "img3.bmp\t"}) {
    const std::size_t at = saved.find(row);
    ASSERT_NE(at, std::string::npos) << row;
    const std::string place =
        saved.substr(at + 9, saved.find('\t', saved.find('\t', at + 9) + 1) - at - 9);
    EXPECT_TRUE(place == "0\t0" || place == "34\t0" || place == "0\t34" || place == "34\t34")
        << row << place;
  }
  EXPECT_NE(saved.find("PACK_PADDING=2\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("PUTIMAGEWIDTH=66\r\nPUTIMAGEHEIGHT=66\r\n"), std::string::npos) << saved;

  app.project.modified = false;
  DestroyWindow(window);
  pump_messages();
}

}  // namespace
}  // namespace piconel

namespace piconel {
namespace {

// "選択した画像だけ" ticked with the keyboard (Tab to it, Space, Enter): the two
// selected images are packed around the two others, which stay.
TEST(PackScenario, SelectedOnlyThroughTheKeyboard) {
  SpreadProject project;
  testing::SettingsFile settings(L"piconel_pack_scenario_selected.ini");
  App app;
  ASSERT_TRUE(app.settings.load(settings.cp932(), true));
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  static const bool registered = register_main_window_class(instance);
  ASSERT_TRUE(registered);
  HWND window = nullptr;
  {
    DialogAnswerer answerer([](HWND dialog) { testing::press_button(dialog, IDCANCEL); });
    open_project(app.project, project.cp932());
    window = create_main_window(app, instance, update_title(app.project));
  }
  SetWindowPos(window, nullptr, 0, 0, 480, 360, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  pump_messages();
  ASSERT_EQ(app.project.images.entries().size(), 4u);
  app.sheet_view.set_entry_selected(1, true);  // at 150,10
  app.sheet_view.set_entry_selected(3, true);  // at 200,200

  {
    DialogAnswerer answerer([](HWND) {
      tap(VK_TAB);  // 幅と高さを2のべき乗にする
      tap(VK_TAB);  // 正方形にする
      tap(VK_TAB);  // 選択した画像だけ
      tap(VK_SPACE);
      tap(VK_RETURN);
    });
    key(VK_MENU, false);
    tap('E');
    key(VK_MENU, true);
    tap(VK_UP);
    tap(VK_RETURN);
    ASSERT_TRUE(pump_until([&] { return app.project.modified; })) << "the command did not run";
    EXPECT_FALSE(answerer.watchdog_fired());
  }

  // The others stay at 0,0 and 20,170; the two selected 32 px squares go
  // beside the first, inside the box the staying ones already span.
  std::vector<std::pair<int, int>> places;
  for (const ImageEntry& entry : app.project.images.entries()) {
    places.emplace_back(entry.x, entry.y);
  }
  EXPECT_EQ(places[0], std::make_pair(0, 0));
  EXPECT_EQ(places[2], std::make_pair(20, 170));
  for (const int i : {1, 3}) {
    EXPECT_LE(places[i].first + 32, 52) << i;
    EXPECT_LE(places[i].second + 32, 202) << i;
  }
  EXPECT_NE(places[1], places[3]);
  EXPECT_EQ(app.project.store->get_string("PROPERTY:page000", "PACK_SELECTEDONLY"), "1");

  app.project.modified = false;
  DestroyWindow(window);
  pump_messages();
}

}  // namespace
}  // namespace piconel
