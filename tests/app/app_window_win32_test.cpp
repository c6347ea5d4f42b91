// Under Wine, on the real main window in-process: a close request that
// arrives while a command waits in a modal box is deferred until the command
// has ended; the other top-level windows are disabled meanwhile; commands do
// not re-enter; logging off asks about unsaved changes; the tooltips come
// from the string resources; the accelerator keys reach the main window from
// any window of the thread except while a page name is edited.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/message_loop_win32.h"
#include "dialog_answerer_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "test_window_win32.h"
#include "window/busy_scope_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::pump_messages;

using testing::DialogAnswerer;
using testing::press_button;
using testing::SettingsFile;

// The real main window over an app with a new, modified project, and a
// floating window it owns, standing in for a list window.
struct MainWindowFixture {
  MainWindowFixture() {
    EXPECT_TRUE(app.settings.load(settings.cp932(), true));
    open_project(app.project, std::string_view());
    mark_modified(app.project);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = register_main_window_class(instance);
    EXPECT_TRUE(registered);
    window = create_main_window(app, instance, "piconel");
    ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(testing::register_test_window_class());
    list_window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, testing::kTestWindowClass, L"list",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 300, window,
                                      nullptr, instance, nullptr));
  }
  ~MainWindowFixture() {
    if (IsWindow(window)) {
      DestroyWindow(window);
    }
    pump_messages();
  }

  SettingsFile settings{L"piconel_main_window_test.ini"};
  App app;
  HWND window = nullptr;
  OwnedWindow list_window;
};

TEST(MainWindow, CloseDuringAModalBoxWaitsUntilTheCommandHasEnded) {
  MainWindowFixture fixture;
  ASSERT_NE(fixture.window, nullptr);
  bool deferred = false;
  bool store_kept = false;
  bool list_disabled = false;
  int questions_inside = 0;
  DialogAnswerer answerer([&](HWND box) {
    if (answerer.dialogs_shown() > 1) {
      ++questions_inside;
      press_button(box, IDCANCEL);
      return;
    }
    // As a shutdown would: a close request, and a second command, while
    // New waits for the answer to its save question.
    SendMessageW(fixture.window, WM_CLOSE, 0, 0);
    SendMessageW(fixture.window, WM_COMMAND, IDM_PROJECT_OPEN, 0);
    deferred = close_request_deferred();
    store_kept = fixture.app.project.store != nullptr && IsWindow(fixture.window);
    list_disabled = !IsWindowEnabled(fixture.list_window.get());
    press_button(box, IDNO);
  });
  SendMessageW(fixture.window, WM_COMMAND, IDM_PROJECT_NEW, 0);
  EXPECT_TRUE(deferred);
  EXPECT_TRUE(store_kept);
  EXPECT_TRUE(list_disabled);
  EXPECT_EQ(questions_inside, 0) << "Open ran inside New";
  EXPECT_TRUE(IsWindowEnabled(fixture.list_window.get()));
  // New has ended with a fresh, unmodified project; the deferred close now
  // runs without a question and writes the window state.
  EXPECT_TRUE(IsWindow(fixture.window));
  EXPECT_FALSE(program_busy());
  pump_messages();
  EXPECT_FALSE(IsWindow(fixture.window));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_FALSE(fixture.app.project.store);
  EXPECT_NE(fixture.settings.read().find("MainWindowMode=NORMAL"), std::string::npos);
}

TEST(MainWindow, LoggingOffAsksAboutUnsavedChanges) {
  MainWindowFixture fixture;
  ASSERT_NE(fixture.window, nullptr);
  std::vector<int> answers = {IDCANCEL, IDNO};
  LRESULT inside_box = -1;
  DialogAnswerer answerer([&](HWND box) {
    // Busy: a second query is refused at once, without a second box.
    inside_box = SendMessageW(fixture.window, WM_QUERYENDSESSION, 0, 0);
    press_button(box, answers[static_cast<std::size_t>(answerer.dialogs_shown() - 1)]);
  });
  EXPECT_EQ(SendMessageW(fixture.window, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(inside_box, FALSE);
  EXPECT_FALSE(fixture.settings.exists());
  EXPECT_EQ(SendMessageW(fixture.window, WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(answerer.dialogs_shown(), 2);
  SendMessageW(fixture.window, WM_ENDSESSION, TRUE, 0);
  EXPECT_NE(fixture.settings.read().find("[WINDOW]\r\nMainWindowMode="), std::string::npos);
}

TEST(MainWindow, TooltipsComeFromTheStringResources) {
  MainWindowFixture fixture;
  ASSERT_NE(fixture.window, nullptr);
  struct Case {
    UINT_PTR command;
    const wchar_t* text;
  };
  const Case cases[] = {
      {IDM_OUTPUT, L"\x51fa\x529b"},                             // 出力
      {IDM_PAGE_LIST, L"\x30da\x30fc\x30b8\x30ea\x30b9\x30c8"},  // ページリスト
      {IDM_EXIT, L""},                                           // no tooltip
  };
  for (const Case& c : cases) {
    NMTTDISPINFOW request{};
    request.hdr.hwndFrom = fixture.window;
    request.hdr.idFrom = c.command;
    request.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(fixture.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    std::wstring text = request.szText;
    if (IS_INTRESOURCE(request.lpszText) && request.lpszText != nullptr) {
      wchar_t buffer[80] = {};
      LoadStringW(request.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(request.lpszText)),
                  buffer, 80);
      text = buffer;
    }
    EXPECT_EQ(text, c.text) << c.command;
  }
}

// The main window's commands as a recording window sees them.
std::vector<WPARAM>& received_commands() {
  static std::vector<WPARAM> commands;
  return commands;
}

LRESULT CALLBACK record_commands(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    received_commands().push_back(wparam);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST(MessageLoop, AcceleratorsOfAnyWindowGoToTheMainWindowUnlessANameIsEdited) {
  constexpr wchar_t kRecorderClass[] = L"piconel_command_recorder";
  ASSERT_TRUE(testing::register_test_window_class(record_commands, kRecorderClass));
  OwnedWindow main_window = testing::make_test_window(RECT{0, 0, 300, 300}, kRecorderClass);
  OwnedWindow list_window = testing::make_test_window(RECT{300, 0, 500, 300});
  AcceleratorRoute route{
      main_window.get(),
      LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS)), false};
  ASSERT_NE(route.table, nullptr);
  received_commands().clear();
  // The Delete key pressed in the list window (no modifier is held).
  MSG key{list_window.get(), WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {}};
  EXPECT_TRUE(translate_accelerator(route, key));
  route.name_edit_active = true;
  EXPECT_FALSE(translate_accelerator(route, key));
  const std::vector<WPARAM> expected = {MAKEWPARAM(IDM_DELETE_SELECTED, 1)};
  EXPECT_EQ(received_commands(), expected);
}

}  // namespace
}  // namespace piconel
