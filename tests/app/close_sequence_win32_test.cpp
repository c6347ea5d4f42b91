// Under Wine: the close request of the main window asks about unsaved
// changes first; cancel keeps the window and leaves the settings file alone,
// any other answer writes the window state and ends the window.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/app_win32.h"
#include "app/close_sequence_win32.h"
#include "dialog_answerer_win32.h"
#include "project/project_file.h"
#include "settings_file_win32.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "test_window_win32.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::make_test_window;
using testing::press_button;
using testing::SettingsFile;
using testing::window_text_of;

// ピコネル：プロジェクトの保存
constexpr wchar_t kSaveCaptionWide[] =
    L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x306e\x4fdd\x5b58";

// An app with a new project, settings from `settings` and `window` as its
// main window.
void prepare(App& app, const SettingsFile& settings, HWND window, bool modified) {
  ASSERT_TRUE(app.settings.load(settings.cp932(), true));
  open_project(app.project, std::string_view());
  app.set_main_window(window);
  if (modified) {
    mark_modified(app.project);
  }
}

TEST(CloseSequence, CancelKeepsTheWindowAndTheSettingsFileUntouched) {
  SettingsFile settings;
  OwnedWindow window = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(window.valid());
  App app;
  prepare(app, settings, window.get(), true);
  std::wstring caption;
  DialogAnswerer answerer([&](HWND box) {
    caption = window_text_of(box);
    press_button(box, IDCANCEL);
  });
  EXPECT_FALSE(close_main_window(window.get(), app));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(caption, kSaveCaptionWide);
  EXPECT_TRUE(IsWindow(window.get()));
  EXPECT_FALSE(settings.exists());
  EXPECT_TRUE(app.project.store);
  EXPECT_TRUE(app.project.modified);
}

TEST(CloseSequence, AnswerNoWritesTheWindowStateAndEndsTheWindow) {
  SettingsFile settings;
  OwnedWindow window = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(window.valid());
  App app;
  prepare(app, settings, window.get(), true);
  DialogAnswerer answerer([](HWND box) { press_button(box, IDNO); });
  const HWND handle = window.get();
  EXPECT_TRUE(close_main_window(handle, app));
  static_cast<void>(window.release());  // destroyed by the close
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_FALSE(IsWindow(handle));
  ASSERT_TRUE(settings.exists());
  EXPECT_NE(settings.read().find("[WINDOW]\r\nMainWindowMode=NORMAL\r\nMainWindowPos=100,100,600,"
                                 "500\r\n"),
            std::string::npos)
      << settings.read();
  EXPECT_FALSE(app.project.store);
}

TEST(CloseSequence, UnmodifiedProjectClosesWithoutAsking) {
  SettingsFile settings;
  OwnedWindow window = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(window.valid());
  App app;
  prepare(app, settings, window.get(), false);
  DialogAnswerer answerer([](HWND box) { press_button(box, IDCANCEL); });
  const HWND handle = window.get();
  EXPECT_TRUE(close_main_window(handle, app));
  static_cast<void>(window.release());
  EXPECT_EQ(answerer.dialogs_shown(), 0);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_TRUE(settings.exists());
}

}  // namespace
}  // namespace piconel
