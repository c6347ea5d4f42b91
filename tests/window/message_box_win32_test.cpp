// Under Wine: real owner windows, real message boxes that the test closes
// itself, and the centring over the owner checked on the shown box.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/test_window_win32.h"
#include "store/handles_win32.h"
#include "window/centre_window.h"
#include "window/centre_window_win32.h"
#include "window/message_box_win32.h"

namespace piconel {
namespace {

using testing::make_test_window;
using testing::work_area;

// "ピコネル：テスト"
constexpr char kCaption[] = "\x83\x73\x83\x52\x83\x6c\x83\x8b\x81\x46\x83\x65\x83\x58\x83\x67";
constexpr wchar_t kCaptionWide[] = L"\x30d4\x30b3\x30cd\x30eb\xff1a\x30c6\x30b9\x30c8";
// "設定ファイルの読込に失敗しました"
constexpr char kText[] =
    "\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x93\xc7\x8d\x9e\x82\xc9\x8e\xb8\x94"
    "\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
constexpr wchar_t kTextWide[] =
    L"\x8a2d\x5b9a\x30d5\x30a1\x30a4\x30eb\x306e\x8aad\x8fbc\x306b\x5931\x6557\x3057\x307e\x3057"
    L"\x305f";

// The message box's static text control.
constexpr int kMessageTextId = 0xFFFF;

// What the observer saw of the one box a test opens. Hook procedures get no
// context pointer, hence the file-level state.
struct BoxSeen {
  HWND box = nullptr;
  HWND parent = nullptr;
  bool hook_installed_while_open = false;
  bool answered = false;
  bool visible_when_answered = false;
  RECT shown{};
  std::wstring caption;
  std::wstring text;
};
BoxSeen g_seen;
int g_answer = IDOK;
bool g_watchdog_fired = false;

std::wstring window_text(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

void answer_box(HWND box) {
  g_seen.answered = true;
  g_seen.visible_when_answered = IsWindowVisible(box) != FALSE;
  GetWindowRect(box, &g_seen.shown);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(g_answer, BN_CLICKED), 0);
}

// Installed before the box is opened, so it runs after the centring hook
// (hooks run newest first). It notes the box at WM_INITDIALOG and answers it
// once the box has been shown, with a posted click that the box's own modal
// loop then handles.
LRESULT CALLBACK observe_box(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* returned = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (returned->message == WM_INITDIALOG && g_seen.box == nullptr) {
      g_seen.box = returned->hwnd;
      g_seen.parent = GetParent(returned->hwnd);
      g_seen.hook_installed_while_open = centring_hook_installed();
      g_seen.caption = window_text(returned->hwnd);
      wchar_t text[512] = {};
      GetDlgItemTextW(returned->hwnd, kMessageTextId, text, 512);
      g_seen.text = text;
    } else if (returned->message == WM_WINDOWPOSCHANGED && returned->hwnd == g_seen.box &&
               !g_seen.answered &&
               (reinterpret_cast<const WINDOWPOS*>(returned->lParam)->flags & SWP_SHOWWINDOW) !=
                   0) {
      answer_box(g_seen.box);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Only a guard against a hung test: should the box never be answered, end
// it after a while so the test fails instead of blocking until the CTest
// timeout. A passing test never gets here.
void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD) {
  if (g_seen.box != nullptr && !g_seen.answered) {
    g_watchdog_fired = true;
    answer_box(g_seen.box);
  }
}

// Opens a centred box over `owner`, answers it with `answer`, and returns
// what centred_message_box returned.
int show_and_answer(HWND owner, int answer, UINT style) {
  g_seen = BoxSeen{};
  g_answer = answer;
  g_watchdog_fired = false;
  WindowsHook observer(
      SetWindowsHookExW(WH_CALLWNDPROCRET, observe_box, nullptr, GetCurrentThreadId()));
  EXPECT_TRUE(observer.valid());
  const UINT_PTR timer = SetTimer(nullptr, 0, 5000, watchdog);
  const int result = centred_message_box(owner, kText, kCaption, style);
  KillTimer(nullptr, timer);
  EXPECT_FALSE(g_watchdog_fired) << "the box was never shown";
  return result;
}

ScreenRect screen_rect(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

RECT window_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST(CentredMessageBox, NearRightEdgeEndsAtWorkAreaRightEdge) {
  const RECT area = work_area();
  const RECT owner_rect{area.right - 120, 300, area.right + 80, 500};
  OwnedWindow owner = make_test_window(owner_rect);
  ASSERT_TRUE(owner.valid());

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK | MB_ICONERROR), IDOK);
  ASSERT_TRUE(g_seen.answered);
  EXPECT_TRUE(g_seen.visible_when_answered);
  EXPECT_EQ(g_seen.parent, owner.get());
  const RECT& box = g_seen.shown;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  ASSERT_GT(width, 100);
  // Centred on the owner it would end right of the work area: pulled left.
  EXPECT_EQ(box.right, area.right);
  EXPECT_EQ(box.top, owner_rect.top + (200 - height) / 2);
  EXPECT_EQ(
      (ScreenPoint{box.left, box.top}),
      centred_position(screen_rect(box), screen_rect(window_rect(owner.get())), screen_rect(area)));
}

TEST(CentredMessageBox, CentredOverOwnerInsideWorkArea) {
  const RECT owner_rect{100, 80, 700, 580};
  OwnedWindow owner = make_test_window(owner_rect);
  ASSERT_TRUE(owner.valid());

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK), IDOK);
  ASSERT_TRUE(g_seen.answered);
  const RECT& box = g_seen.shown;
  EXPECT_EQ(box.left, 100 + (600 - (box.right - box.left)) / 2);
  EXPECT_EQ(box.top, 80 + (500 - (box.bottom - box.top)) / 2);
}

TEST(CentredMessageBox, SmallOwnerInCornerKeepsTopLeftInWorkArea) {
  const RECT area = work_area();
  OwnedWindow owner = make_test_window(RECT{area.left, area.top, area.left + 40, area.top + 40});
  ASSERT_TRUE(owner.valid());

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK), IDOK);
  ASSERT_TRUE(g_seen.answered);
  EXPECT_EQ(g_seen.shown.left, area.left);
  EXPECT_EQ(g_seen.shown.top, area.top);
}

TEST(CentredMessageBox, MinimizedOwnerCentresOnItsMonitorsWorkArea) {
  const RECT area = work_area();
  OwnedWindow owner = make_test_window(RECT{100, 80, 700, 580});
  ASSERT_TRUE(owner.valid());
  ShowWindow(owner.get(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(owner.get()));

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK), IDOK);
  ASSERT_TRUE(g_seen.answered);
  const RECT& box = g_seen.shown;
  // Not pushed into the corner by the icon's far-off rectangle.
  EXPECT_EQ(box.left, area.left + (area.right - area.left - (box.right - box.left)) / 2);
  EXPECT_EQ(box.top, area.top + (area.bottom - area.top - (box.bottom - box.top)) / 2);
}

TEST(CentredMessageBox, ReturnsTheButtonPressed) {
  OwnedWindow owner = make_test_window(RECT{200, 200, 600, 500});
  ASSERT_TRUE(owner.valid());
  const struct {
    UINT style;
    int answer;
  } cases[] = {
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_ICONWARNING, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO, IDNO},
      {MB_YESNOCANCEL, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(show_and_answer(owner.get(), c.answer, c.style), c.answer);
  }
}

TEST(CentredMessageBox, ConvertsCp932TextAndCaption) {
  OwnedWindow owner = make_test_window(RECT{200, 200, 600, 500});
  ASSERT_TRUE(owner.valid());

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK), IDOK);
  EXPECT_EQ(g_seen.caption, kCaptionWide);
  EXPECT_EQ(g_seen.text, kTextWide);
}

TEST(CentredMessageBox, HookLivesOnlyWhileTheBoxIsOpen) {
  OwnedWindow owner = make_test_window(RECT{200, 200, 600, 500});
  ASSERT_TRUE(owner.valid());
  EXPECT_FALSE(centring_hook_installed());

  EXPECT_EQ(show_and_answer(owner.get(), IDOK, MB_OK), IDOK);
  EXPECT_TRUE(g_seen.hook_installed_while_open);
  EXPECT_FALSE(centring_hook_installed());
}

TEST(CentreWindow, MovesWithoutResizing) {
  OwnedWindow reference = make_test_window(RECT{300, 200, 900, 700});
  OwnedWindow window = make_test_window(RECT{0, 0, 201, 101});
  ASSERT_TRUE(reference.valid());
  ASSERT_TRUE(window.valid());
  const RECT before = window_rect(window.get());

  ASSERT_TRUE(centre_window(window.get(), reference.get()));
  const RECT after = window_rect(window.get());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  // (600 - 201) / 2 = 199, (500 - 101) / 2 = 199.
  EXPECT_EQ(after.left, 300 + 199);
  EXPECT_EQ(after.top, 200 + 199);
}

TEST(CentreWindow, MissingReferenceLeavesWindowAlone) {
  OwnedWindow window = make_test_window(RECT{10, 20, 210, 120});
  ASSERT_TRUE(window.valid());
  const RECT before = window_rect(window.get());

  EXPECT_FALSE(centre_window(window.get(), nullptr));
  EXPECT_FALSE(centre_window(nullptr, window.get()));
  const RECT after = window_rect(window.get());
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

}  // namespace
}  // namespace piconel
