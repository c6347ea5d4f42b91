// Under Wine: the window prompter's message boxes and file dialogs, each
// shown for real and answered by the test (dialog_answerer_win32.h).

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/dialog_answerer_win32.h"
#include "app/test_window_win32.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "window/prompter_win32.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::make_test_window;
using testing::press_button;
using testing::window_text_of;

// ピコネル：プロジェクトを名前を付けて保存
constexpr wchar_t kSaveCaptionWide[] =
    L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x3092\x540d\x524d\x3092"
    L"\x4ed8\x3051\x3066\x4fdd\x5b58";
// ピコネルプロジェクトファイル (*.ijp), すべてのファイル (*.*)
constexpr wchar_t kProjectFilterWide[] =
    L"\x30d4\x30b3\x30cd\x30eb\x30d7\x30ed\x30b8\x30a7\x30af\x30c8\x30d5\x30a1\x30a4\x30eb "
    L"(*.ijp)";
constexpr wchar_t kAllFilesWide[] = L"\x3059\x3079\x3066\x306e\x30d5\x30a1\x30a4\x30eb (*.*)";

// The file name field: a combo box in the explorer-style dialog of newer
// systems, an edit control in older ones.
HWND file_name_field(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, cmb13);
  return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

std::vector<std::wstring> combo_items(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 256) {
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    items.emplace_back(text);
  }
  return items;
}

// What a file dialog looked like when it was answered.
struct FileDialogSeen {
  std::wstring caption;
  std::wstring initial_name;
  std::vector<std::wstring> types;
  LRESULT type_selected = -1;
  HWND owner = nullptr;
};

// Answers a file dialog by typing `name` (none: cancel).
std::function<void(HWND)> type_name_and_ok(FileDialogSeen& seen, std::optional<std::wstring> name) {
  return [&seen, name](HWND dialog) {
    seen.caption = window_text_of(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    const HWND field = file_name_field(dialog);
    seen.initial_name = window_text_of(field);
    const HWND types = GetDlgItem(dialog, cmb1);
    seen.types = combo_items(types);
    seen.type_selected = SendMessageW(types, CB_GETCURSEL, 0, 0);
    if (!name) {
      press_button(dialog, IDCANCEL);
      return;
    }
    SetWindowTextW(field, name->c_str());
    press_button(dialog, IDOK);
  };
}

// A scratch folder under the temporary folder, emptied by the test.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) {
      folder_ = std::wstring(temp) + name + L"\\";
      CreateDirectoryW(folder_.c_str(), nullptr);
    }
  }
  ~ScratchFolder() {
    for (const std::wstring& file : files_) {
      DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(folder_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  [[nodiscard]] const std::wstring& path() const { return folder_; }
  // A file that the folder removes again; created empty with `create`.
  std::wstring file(const std::wstring& name, bool create) {
    const std::wstring full = folder_ + name;
    files_.push_back(full);
    if (create) {
      FileHandle handle(
          CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      EXPECT_TRUE(handle.valid());
    }
    return full;
  }

 private:
  std::wstring folder_;
  std::vector<std::wstring> files_;
};

TEST(WindowPrompter, FilterListsDescriptionAndPatternPairsInUtf16) {
  const std::wstring filter = file_dialog_filter(project_file_filters());
  const std::wstring expected = std::wstring(kProjectFilterWide) + L'\0' + L"*.ijp" + L'\0' +
                                kAllFilesWide + L'\0' + L"*.*" + L'\0' + L'\0';
  EXPECT_EQ(filter, expected);
  EXPECT_EQ(file_dialog_filter({}), std::wstring(1, L'\0'));
}

TEST(WindowPrompter, MessageBoxShowsCp932TextOverOwnerAndReturnsTheButton) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  WindowPrompter prompter(owner.get());
  std::wstring caption;
  std::wstring text;
  HWND parent = nullptr;
  DialogAnswerer answerer([&](HWND box) {
    caption = window_text_of(box);
    wchar_t buffer[256] = {};
    GetDlgItemTextW(box, 0xFFFF, buffer, 256);
    text = buffer;
    parent = GetParent(box);
    press_button(box, IDNO);
  });
  ASSERT_TRUE(answerer.hooked());
  // 保存しますか？ / ピコネル：確認
  const int answer = prompter.message_box(
      "\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48",
      "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x8a\x6d\x94\x46", kMbYesNoCancel | kMbIconQuestion);
  EXPECT_EQ(answer, kIdNo);
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(caption, L"\x30d4\x30b3\x30cd\x30eb\xff1a\x78ba\x8a8d");
  EXPECT_EQ(text, L"\x4fdd\x5b58\x3057\x307e\x3059\x304b\xff1f");
  EXPECT_EQ(parent, owner.get());
}

TEST(WindowPrompter, SaveDialogTakesTypedNameAndAppendsDefaultExtension) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  ScratchFolder folder(L"piconel_prompter_save");
  ASSERT_FALSE(folder.path().empty());
  const std::wstring target = folder.file(L"game.ijp", false);
  WindowPrompter prompter(owner.get());
  FileDialogSeen seen;
  DialogAnswerer answerer(type_name_and_ok(seen, folder.path() + L"game"));
  std::string name = ".ijp";
  const bool chosen =
      prompter.ask_file_name(project_texts::kSaveDialogCaption, name, project_file_filters(), true);
  EXPECT_FALSE(answerer.watchdog_fired());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(name, to_cp932(target));
  EXPECT_EQ(seen.caption, kSaveCaptionWide);
  EXPECT_EQ(seen.initial_name, L".ijp");
  EXPECT_EQ(seen.types, (std::vector<std::wstring>{kProjectFilterWide, kAllFilesWide}));
  EXPECT_EQ(seen.type_selected, 0);
  EXPECT_EQ(seen.owner, owner.get());
}

TEST(WindowPrompter, SaveDialogRefusesANameWithoutCp932FormAndAsksAgain) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  ScratchFolder folder(L"piconel_prompter_refuse");
  ASSERT_FALSE(folder.path().empty());
  const std::wstring target = folder.file(L"game.ijp", false);
  WindowPrompter prompter(owner.get());
  // Zo + e with diaeresis: answering as if cancelled used to let a Yes to
  // the save question discard the project.
  const std::wstring refused = folder.path() + L"Zo\x00eb";
  FileDialogSeen first;
  FileDialogSeen second;
  std::wstring refusal;
  auto type_first = type_name_and_ok(first, refused);
  auto type_second = type_name_and_ok(second, folder.path() + L"game");
  int shown = 0;
  DialogAnswerer answerer([&](HWND dialog) {
    switch (++shown) {
      case 1:
        type_first(dialog);
        break;
      case 2:  // the message saying why
        refusal = testing::window_text_of(GetDlgItem(dialog, 0xFFFF));
        press_button(dialog, IDOK);
        break;
      default:
        type_second(dialog);
        break;
    }
  });
  std::string name = ".ijp";
  EXPECT_TRUE(prompter.ask_file_name(project_texts::kSaveDialogCaption, name,
                                     project_file_filters(), true));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 3);
  EXPECT_EQ(name, to_cp932(target));
  EXPECT_NE(refusal.find(L"CP932"), std::wstring::npos) << to_cp932(refusal);
  EXPECT_NE(refusal.find(refused), std::wstring::npos) << to_cp932(refusal);
  EXPECT_EQ(second.initial_name.substr(0, 3), L"Zo\x00eb");
}

TEST(WindowPrompter, OpenDialogReturnsExistingFileWithBackslashTrailBytes) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  ScratchFolder folder(L"piconel_prompter_open");
  ASSERT_FALSE(folder.path().empty());
  // 表ソ.ijp: both characters end in the byte 0x5C in CP932.
  const std::wstring existing = folder.file(L"\x8868\x30bd.ijp", true);
  WindowPrompter prompter(owner.get());
  FileDialogSeen seen;
  DialogAnswerer answerer(type_name_and_ok(seen, existing));
  std::string name;
  ASSERT_TRUE(prompter.ask_file_name(project_texts::kOpenDialogCaption, name,
                                     project_file_filters(), false));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(name, to_cp932(folder.path()) + "\x95\x5c\x83\x5c.ijp");
  EXPECT_EQ(seen.initial_name, L"");
}

TEST(WindowPrompter, CancelledDialogGivesFalse) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  WindowPrompter prompter(owner.get());
  for (const bool save_mode : {false, true}) {
    SCOPED_TRACE(save_mode);
    FileDialogSeen seen;
    DialogAnswerer answerer(type_name_and_ok(seen, std::nullopt));
    std::string name = "sample.ijp";
    EXPECT_FALSE(prompter.ask_file_name(project_texts::kOpenDialogCaption, name,
                                        project_file_filters(), save_mode));
    EXPECT_FALSE(answerer.watchdog_fired());
    EXPECT_EQ(answerer.dialogs_shown(), 1);
    EXPECT_EQ(seen.initial_name, L"sample.ijp");
  }
}

}  // namespace
}  // namespace piconel
