// The settings dialogs as the main window opens them: controls set with real
// messages, OK or Cancel pressed, then the stores, the modified flag and the
// windows the openers refresh are checked.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_win32.h"
#include "app/commands_win32.h"
#include "app/dialog_answerer_win32.h"
#include "app/settings_file_win32.h"
#include "app/test_window_win32.h"
#include "app/window_dialogs_win32.h"
#include "project/project_fakes.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::press_button;

// A click as the mouse gives it: the button's state changes, then the
// dialog hears BN_CLICKED.
void click(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void type_text(HWND dialog, int id, const std::string& cp932) {
  SetDlgItemTextW(dialog, id, to_wide(cp932).c_str());
}

std::string text_of(HWND dialog, int id) {
  wchar_t buffer[64] = {};
  GetDlgItemTextW(dialog, id, buffer, 64);
  return to_cp932(buffer);
}

bool checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::string value(DocumentStore& store, std::string_view section, std::string_view key) {
  const auto found = store.get_string(section, key);
  return found ? std::string(*found) : std::string("(none)");
}

// The program's App over a test window, with a new project whose page list
// and sheet view are recording fakes.
struct DialogFixture : ::testing::Test {
  void SetUp() override {
    window = testing::make_test_window(RECT{100, 100, 700, 500});
    ASSERT_TRUE(window);
    app.set_main_window(window.get());
    app.dialogs = &dialogs;
    app.project.ports.page_list = &page_list;
    app.project.ports.sheet = &sheet;
    static_cast<void>(open_project(app.project, std::string_view()));
    ASSERT_TRUE(app.project.store);
    ASSERT_EQ(app.project.current_page, 0);
    app.project.modified = false;
  }

  OwnedWindow window;
  App app;
  WindowDialogs dialogs{app};
  testing::FakePageList page_list;
  testing::FakeSheetView sheet;
};

TEST_F(DialogFixture, ProjectPropertiesWithColourDialog) {
  HWND project_dialog = nullptr;
  int red_track = -1;
  int green_track = -1;
  DialogAnswerer answerer([&](HWND dialog) {
    if (project_dialog == nullptr) {
      project_dialog = dialog;
      EXPECT_TRUE(checked(dialog, IDC_OUTPUT_BMP));
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_LABEL_FORMAT)));
      EXPECT_EQ(text_of(dialog, IDC_LABEL_FORMAT), "IMG_%PAGE%_%FILE%");
      click(dialog, IDC_OUTPUT_DIR_ENABLE);
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_OUTPUT_DIR)));
      type_text(dialog, IDC_OUTPUT_DIR, "out");
      click(dialog, IDC_OUTPUT_LABEL);
      click(dialog, IDC_BACKGROUND_ENABLE);
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHANGE_COLOUR)));
      press_button(dialog, IDC_CHANGE_COLOUR);
      return;
    }
    // The colour dialog: 300 keeps its low 8 bits.
    type_text(dialog, IDC_RED_EDIT, "300");
    type_text(dialog, IDC_GREEN_EDIT, "255");
    type_text(dialog, IDC_BLUE_EDIT, "0");
    UpdateWindow(dialog);
    red_track = static_cast<int>(SendDlgItemMessageW(dialog, IDC_RED_TRACK, TBM_GETPOS, 0, 0));
    green_track = static_cast<int>(SendDlgItemMessageW(dialog, IDC_GREEN_TRACK, TBM_GETPOS, 0, 0));
    press_button(dialog, IDOK);
    press_button(project_dialog, IDOK);
  });
  ASSERT_TRUE(answerer.hooked());
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SETTINGS}));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 2);
  EXPECT_EQ(green_track, 255);
  EXPECT_EQ(red_track, 255);  // the trackbar stops at its end

  DocumentStore& store = *app.project.store;
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUTENABLE"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUTDIR"), "out");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_LABEL"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_BMP"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "TRANSPARENTENABLE"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "TRANSPARENTCOLOR"), "44,255,0");
  EXPECT_TRUE(app.project.modified);
  // The opener re-applied the page's settings and rebuilt the page list.
  EXPECT_EQ(sheet.background, make_colorref(44, 255, 0));
  EXPECT_EQ(page_list.names(), std::vector<std::string>{"page000"});
  EXPECT_EQ(app.dialog_guard, -1);
}

// A key pressed and released as hardware input, then the queue handled as
// the dialog's own loop handles it (Tab, Space and Enter through
// IsDialogMessage).
void press_key(HWND dialog, WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  MSG msg;
  while (IsWindow(dialog) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

TEST_F(DialogFixture, ProjectPngAndJsonBoxesByKeyboard) {
  bool transparent_enabled_before = true;
  bool transparent_enabled_after = false;
  bool png_focused = false;
  DialogAnswerer answerer([&](HWND dialog) {
    transparent_enabled_before = IsWindowEnabled(GetDlgItem(dialog, IDC_PNG_TRANSPARENT));
    // From the last coordinates box, Tab goes on to the new boxes in
    // reading order.
    SetFocus(GetDlgItem(dialog, IDC_TABLE_BIG));
    press_key(dialog, VK_TAB);
    png_focused = GetFocus() == GetDlgItem(dialog, IDC_OUTPUT_PNG);
    press_key(dialog, VK_SPACE);
    transparent_enabled_after = IsWindowEnabled(GetDlgItem(dialog, IDC_PNG_TRANSPARENT));
    press_key(dialog, VK_TAB);
    press_key(dialog, VK_SPACE);
    press_key(dialog, VK_TAB);
    press_key(dialog, VK_SPACE);
    press_key(dialog, VK_RETURN);
  });
  ASSERT_TRUE(answerer.hooked());
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PROJECT_SETTINGS}));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_FALSE(transparent_enabled_before);
  EXPECT_TRUE(png_focused);
  EXPECT_TRUE(transparent_enabled_after);
  DocumentStore& store = *app.project.store;
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_PNG"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_PNG_TRANSPARENT"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_JSON"), "1");
  EXPECT_EQ(value(store, "PROPERTY", "OUTPUT_BMP"), "1");
  EXPECT_TRUE(app.project.modified);
}

TEST_F(DialogFixture, PageSettingsCancelThenRefusedNameThenRename) {
  const std::string before = app.project.store->serialize();
  {
    DialogAnswerer answerer([&](HWND dialog) {
      type_text(dialog, IDC_PAGE_NAME, "other");
      press_button(dialog, IDCANCEL);
    });
    EXPECT_TRUE(run_command(app, CommandMessage{IDM_PAGE_SETTINGS}));
    EXPECT_EQ(answerer.dialogs_shown(), 1);
  }
  EXPECT_EQ(app.project.store->serialize(), before);
  EXPECT_FALSE(app.project.modified);

  HWND page_dialog = nullptr;
  std::wstring box_text;
  DialogAnswerer answerer([&](HWND dialog) {
    if (page_dialog == nullptr) {
      page_dialog = dialog;
      EXPECT_EQ(text_of(dialog, IDC_PAGE_NAME), "page000");
      EXPECT_EQ(text_of(dialog, IDC_PAGE_LABEL), "PAGE000");
      EXPECT_FALSE(checked(dialog, IDC_SHEET_SIZE_ENABLE));
      type_text(dialog, IDC_PAGE_NAME, "page-1");
      // "タイトル 1"
      type_text(dialog, IDC_PAGE_LABEL, "\x83^\x83\x43\x83g\x83\x8b 1");
      click(dialog, IDC_SHEET_SIZE_ENABLE);
      click(dialog, IDC_SIZE_MANUAL);
      type_text(dialog, IDC_SHEET_WIDTH, "640");
      press_button(dialog, IDOK);
      return;
    }
    // The refusal names the offending character's position.
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 256);
    box_text = text;
    press_button(dialog, IDOK);
    type_text(page_dialog, IDC_PAGE_NAME, "title");
    press_button(page_dialog, IDOK);
  });
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PAGE_SETTINGS}));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 2);
  EXPECT_NE(box_text.find(L"(5"), std::wstring::npos);

  DocumentStore& store = *app.project.store;
  EXPECT_EQ(*store.row_at("PAGELIST", 0), "title");
  EXPECT_EQ(value(store, "PROPERTY:title", "PAGELABEL"), "\x83^\x83\x43\x83g\x83\x8b 1");
  EXPECT_EQ(value(store, "PROPERTY:title", "FIXEDSHEET"), "1");
  EXPECT_EQ(value(store, "PROPERTY:title", "SHEETSIZEMANUAL"), "1");
  EXPECT_EQ(value(store, "PROPERTY:title", "SHEETWIDTH"), "640");
  EXPECT_TRUE(app.project.modified);
  EXPECT_EQ(sheet.sheet_width, 640);
  EXPECT_EQ(app.dialog_guard, -1);
}

// Looking is not changing: each dialog cancelled, with the page list
// showing every page, and the project saved again is the same file, byte
// for byte (no empty PROPERTY sections were made by reading).
TEST_F(DialogFixture, CancelLeavesTheSavedFileByteIdentical) {
  testing::SettingsFile file(L"piconel_cancel_test.ijp");
  {
    const std::string text = std::string("[INFOMATION]\r\nAPPLICATIONNAME=") +
                             project_texts::kProjectApplicationName +
                             "\r\nAPPLICATIONVERSION=1.0.8\r\n[PAGELIST]\r\npage000\r\npage001\r\n";
    FileHandle out(CreateFileW(to_wide(file.cp932()).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  }
  ASSERT_EQ(open_project(app.project, file.cp932()), OpenResult::Opened);
  ASSERT_EQ(save_project(app.project, std::nullopt), SaveResult::Saved);
  const std::string saved = file.read();
  const std::string settings = app.settings.serialize();
  ASSERT_NE(saved.find("page001"), std::string::npos);

  DialogAnswerer answerer([](HWND dialog) { press_button(dialog, IDCANCEL); });
  for (const unsigned command : {IDM_PROJECT_SETTINGS, IDM_PAGE_SETTINGS, IDM_APP_SETTINGS}) {
    EXPECT_TRUE(run_command(app, CommandMessage{command}));
  }
  EXPECT_EQ(answerer.dialogs_shown(), 3);
  EXPECT_FALSE(app.project.modified);
  EXPECT_EQ(page_list.names(), (std::vector<std::string>{"page000", "page001"}));
  ASSERT_EQ(save_project(app.project, std::nullopt), SaveResult::Saved);
  EXPECT_EQ(file.read(), saved);
  EXPECT_EQ(saved.find("[PROPERTY:"), std::string::npos) << saved;
  EXPECT_EQ(app.settings.serialize(), settings);
}

// Enter and Esc pressed as keys close each settings dialog as its OK and
// Cancel buttons do: Esc changes nothing, Enter stores the dialog's fields.
TEST_F(DialogFixture, EnterAndEscCloseEveryDialog) {
  // The application settings are saved at OK, as the program's are beside
  // it; without a file the save would fail and say so.
  testing::SettingsFile file(L"piconel_dialog_keys_test.ini");
  ASSERT_TRUE(app.settings.load(file.cp932(), true));
  for (const unsigned command : {IDM_PROJECT_SETTINGS, IDM_PAGE_SETTINGS, IDM_APP_SETTINGS}) {
    for (const WORD key : {VK_ESCAPE, VK_RETURN}) {
      SCOPED_TRACE(::testing::Message() << "command " << command << ", key " << key);
      app.project.modified = false;
      const std::string project_before = app.project.store->serialize();
      const std::string settings_before = app.settings.serialize();
      DialogAnswerer answerer([&](HWND dialog) {
        press_key(dialog, key);
        // The dialog's own loop may wait for a message before it sees that
        // it has ended (press_key took the queue): one wakes it.
        PostMessageW(dialog, WM_NULL, 0, 0);
      });
      EXPECT_TRUE(run_command(app, CommandMessage{command}));
      EXPECT_FALSE(answerer.watchdog_fired());
      EXPECT_EQ(answerer.dialogs_shown(), 1);
      const bool stored = app.project.modified ||
                          app.project.store->serialize() != project_before ||
                          app.settings.serialize() != settings_before;
      EXPECT_EQ(stored, key == VK_RETURN);
    }
  }
}

// The name and label fields count CP932 bytes: 30 bytes take fifteen
// double-byte characters, and what the field shows is stored whole.
TEST_F(DialogFixture, PageFieldsHoldThirtyBytesStoredWhole) {
  std::wstring shown;
  DialogAnswerer answerer([&](HWND dialog) {
    for (const int id : {IDC_PAGE_NAME, IDC_PAGE_LABEL}) {
      const HWND field = GetDlgItem(dialog, id);
      SetWindowTextW(field, L"");
      for (int i = 0; i < 20; ++i) {
        SendMessageW(field, WM_CHAR, 0x3042, 1);  // あ
      }
    }
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, IDC_PAGE_LABEL, text, 64);
    shown = text;
    press_button(dialog, IDOK);
  });
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_PAGE_SETTINGS}));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(shown, std::wstring(15, L'\u3042'));
  std::string fifteen;
  for (int i = 0; i < 15; ++i) {
    fifteen += "\x82\xa0";
  }
  DocumentStore& store = *app.project.store;
  EXPECT_EQ(*store.row_at("PAGELIST", 0), fifteen);
  EXPECT_EQ(value(store, "PROPERTY:" + fifteen, "PAGELABEL"), fifteen);
}

TEST_F(DialogFixture, ApplicationSettingsSavedAtOnce) {
  testing::SettingsFile file(L"piconel_dialog_test.ini");
  ASSERT_TRUE(app.settings.load(file.cp932(), true));
  std::string snap_text;
  bool colour_box_stays = false;
  DialogAnswerer answerer([&](HWND dialog) {
    const HWND track = GetDlgItem(dialog, IDC_SNAP_TRACK);
    EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), 4);
    SendMessageW(track, TBM_SETPOS, TRUE, 16);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 16),
                 reinterpret_cast<LPARAM>(track));
    snap_text = text_of(dialog, IDC_SNAP_VALUE);
    click(dialog, IDC_BACKGROUND_ENABLE);
    colour_box_stays = checked(dialog, IDC_BACKGROUND_ENABLE);
    click(dialog, IDC_SEARCH_SUSIE);
    press_button(dialog, IDOK);
  });
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_APP_SETTINGS}));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(snap_text, "16");
  EXPECT_TRUE(colour_box_stays);
  EXPECT_EQ(app.sheet_view.state().snap_width, 16);
  const std::string saved = file.read();
  EXPECT_NE(saved.find("SNAPWIDTH=16\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("PLUGIN_SUSIEDIR=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("TRANSPARENTENABLE=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("TRANSPARENTCOLOR=255,255,255\r\n"), std::string::npos);
  EXPECT_FALSE(app.project.modified);
}

// OK with a settings file that cannot be replaced (another program holds
// it open): an error box over the
// settings dialog, which is still open, says so; the values still hold for
// this session.
TEST_F(DialogFixture, ApplicationSettingsThatCannotBeSavedAreReported) {
  testing::SettingsFile file(L"piconel_dialog_test.ini");
  ASSERT_TRUE(app.settings.load(file.cp932(), true));
  ASSERT_TRUE(app.settings.save());
  const std::string before = file.read();
  const testing::HeldFile held(to_wide(file.cp932()));
  ASSERT_TRUE(held.held());
  HWND settings_dialog = nullptr;
  HWND box_owner = nullptr;
  std::wstring box_caption;
  DialogAnswerer answerer([&](HWND dialog) {
    if (settings_dialog == nullptr) {
      settings_dialog = dialog;
      const HWND track = GetDlgItem(dialog, IDC_SNAP_TRACK);
      SendMessageW(track, TBM_SETPOS, TRUE, 16);
      SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 16),
                   reinterpret_cast<LPARAM>(track));
      press_button(dialog, IDOK);
      return;
    }
    box_owner = GetWindow(dialog, GW_OWNER);
    box_caption = testing::window_text_of(dialog);
    press_button(dialog, IDOK);
  });
  EXPECT_TRUE(run_command(app, CommandMessage{IDM_APP_SETTINGS}));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 2);
  EXPECT_EQ(box_owner, settings_dialog);
  // ピコネル：設定ファイル
  EXPECT_EQ(box_caption, L"\x30d4\x30b3\x30cd\x30eb\xff1a\x8a2d\x5b9a\x30d5\x30a1\x30a4\x30eb");
  EXPECT_EQ(app.sheet_view.state().snap_width, 16);
  EXPECT_EQ(file.read(), before);
}

}  // namespace
}  // namespace piconel
