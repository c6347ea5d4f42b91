// Under Wine: the output run's window port. The folder browser opens on the
// folder it is given and answers with the chosen one or with cancel; a
// failing page is reported in an error box over the main window.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/output_port_win32.h"
#include "dialog_answerer_win32.h"
#include "output/output_run.h"
#include "store/cp932.h"
#include "store/handles_win32.h"
#include "store/wide_text.h"
#include "test_window_win32.h"
#include "window/folder_browser_win32.h"
#include "window/prompter_win32.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::make_test_window;
using testing::press_button;
using testing::window_text_of;

// 出力ディレクトリ
constexpr wchar_t kFolderTitleWide[] = L"\x51fa\x529b\x30c7\x30a3\x30ec\x30af\x30c8\x30ea";

struct ChildTextSearch {
  const wchar_t* text;
  bool found = false;
};

BOOL CALLBACK find_child_text(HWND child, LPARAM lparam) {
  auto* search = reinterpret_cast<ChildTextSearch*>(lparam);
  if (window_text_of(child) == search->text) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

bool has_child_with_text(HWND dialog, const wchar_t* text) {
  ChildTextSearch search{text};
  EnumChildWindows(dialog, find_child_text, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A folder under the temporary folder whose name holds 表 and ソ (both end
// in the byte 0x5C in CP932); without its closing backslash.
class TestFolder {
 public:
  TestFolder() {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) {
      path_ = std::wstring(temp) + L"piconel_browse_\x8868\x30bd";
      CreateDirectoryW(path_.c_str(), nullptr);
    }
  }
  ~TestFolder() { RemoveDirectoryW(path_.c_str()); }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }
  [[nodiscard]] std::wstring parent() const { return path_.substr(0, path_.rfind(L'\\')); }

 private:
  std::wstring path_;
};

// Sets the last access time of `folder` to a day long past.
bool set_access_time_long_ago(const std::wstring& folder) {
  const FileHandle handle(CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const SYSTEMTIME long_ago{2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME time{};
  return handle && SystemTimeToFileTime(&long_ago, &time) &&
         SetFileTime(handle.get(), nullptr, &time, nullptr) != FALSE;
}

TEST(WindowOutputPort, PageErrorBoxOverTheMainWindow) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  WindowPrompter prompter(owner.get());
  WindowOutputPort port(owner.get(), prompter);
  std::wstring caption;
  std::wstring text;
  HWND parent = nullptr;
  bool has_icon = false;  // the error icon
  DialogAnswerer answerer([&](HWND box) {
    caption = window_text_of(box);
    wchar_t buffer[256] = {};
    GetDlgItemTextW(box, 0xFFFF, buffer, 256);
    text = buffer;
    parent = GetParent(box);
    // The icon control (id 20 on Windows, 0x440 in Wine) shows the shared
    // error icon.
    const HICON error_icon = LoadIconW(nullptr, IDI_HAND);
    for (const int id : {20, 0x440}) {
      has_icon =
          has_icon || (error_icon != nullptr && reinterpret_cast<HICON>(SendDlgItemMessageW(
                                                    box, id, STM_GETICON, 0, 0)) == error_icon);
    }
    press_button(box, IDOK);
  });
  // ページ出力エラー(page001), as the run formats it.
  port.show_error("\x83\x79\x81\x5b\x83\x57\x8f\x6f\x97\xcd\x83\x47\x83\x89\x81\x5b(page001)",
                  kOutputCaption);
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(caption, L"\x30d4\x30b3\x30cd\x30eb\xff1a\x51fa\x529b");  // ピコネル：出力
  EXPECT_EQ(text, L"\x30da\x30fc\x30b8\x51fa\x529b\x30a8\x30e9\x30fc(page001)");
  EXPECT_EQ(parent, owner.get());
  EXPECT_TRUE(has_icon);
}

TEST(WindowOutputPort, CancelledFolderBrowserLeavesTheFolder) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  WindowPrompter prompter(owner.get());
  WindowOutputPort port(owner.get(), prompter);
  bool titled = false;
  HWND browser_owner = nullptr;
  DialogAnswerer answerer([&](HWND browser) {
    titled = has_child_with_text(browser, kFolderTitleWide);
    browser_owner = GetWindow(browser, GW_OWNER);
    press_button(browser, IDCANCEL);
  });
  std::string folder = "C:\\windows\\";
  EXPECT_FALSE(port.choose_output_folder(folder));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  EXPECT_EQ(folder, "C:\\windows\\");
  EXPECT_TRUE(titled);
  EXPECT_EQ(browser_owner, owner.get());
}

TEST(WindowOutputPort, FolderBrowserOpensOnTheGivenFolderAndReturnsIt) {
  OwnedWindow owner = make_test_window(RECT{100, 100, 600, 500});
  ASSERT_TRUE(owner.valid());
  TestFolder test_folder;
  ASSERT_FALSE(test_folder.path().empty());
  // The folder that holds it last read long ago, as a folder just written
  // to is until the next read: the browser's own reading refreshes its
  // access time while it looks for the start folder.
  ASSERT_TRUE(set_access_time_long_ago(test_folder.parent()));
  // OK without touching anything: the answer is the preselected folder.
  DialogAnswerer answerer([](HWND browser) { press_button(browser, IDOK); });
  std::string folder = to_cp932(test_folder.path());
  ASSERT_NE(folder.find("\x95\x5c\x83\x5c"), std::string::npos);
  const std::string given = folder;
  EXPECT_TRUE(browse_for_folder(owner.get(), kOutputFolderTitle, kOutputCaption, folder));
  EXPECT_FALSE(answerer.watchdog_fired());
  EXPECT_TRUE(equals_ignoring_ascii_case(folder, given)) << folder;
}

}  // namespace
}  // namespace piconel
