// Under Wine, the real main window with real messages: entry windows dragged
// through the system's move loop (the press posted, then the mouse moves and
// the release it takes from the queue) with outline dragging and with full
// windows, snapping, the other selected images following, the status bar and
// the modified flag; clicks and Ctrl-clicks in a group; the double-click; and
// the overlap check's message boxes.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win32.h"
#include "app/app_window_win32.h"
#include "app/commands_win32.h"
#include "app/test_window_win32.h"
#include "dialog_answerer_win32.h"
#include "drag_window_win32.h"
#include "store/handles_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DragWindow;
using testing::pump_messages;
using testing::status_text;

// While the system's move loop runs, the cursor stands where each mouse
// message says, as it would for a user's hand: the loop's message filter
// sets it, so the moving notification reads the matching position.
class CursorFollowsMoves {
 public:
  CursorFollowsMoves()
      : hook_(SetWindowsHookExW(WH_MSGFILTER, filter, nullptr, GetCurrentThreadId())) {}
  [[nodiscard]] bool hooked() const { return hook_.valid(); }

 private:
  static LRESULT CALLBACK filter(int code, WPARAM wparam, LPARAM lparam) {
    // MSGF_SIZE, which the mingw-w64 headers leave out: the message filter
    // code of the move and size loop.
    constexpr int kMoveLoopFilter = 4;
    if (code == kMoveLoopFilter) {
      const auto* message = reinterpret_cast<const MSG*>(lparam);
      if (message->message == WM_MOUSEMOVE) {
        SetCursorPos(message->pt.x, message->pt.y);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  WindowsHook hook_;
};

// A press at `from` on the entry window, the cursor through `steps`, the
// release, then a non-client mouse move at the last point (which decides
// nothing: the release did). Posted messages carry the cursor position of
// their posting.
void drag(HWND entry_window, POINT from, const std::vector<POINT>& steps) {
  CursorFollowsMoves cursor;
  EXPECT_TRUE(cursor.hooked());
  SetCursorPos(from.x, from.y);
  PostMessageW(entry_window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(from.x, from.y));
  for (const POINT& step : steps) {
    SetCursorPos(step.x, step.y);
    PostMessageW(entry_window, WM_MOUSEMOVE, MK_LBUTTON, 0);
  }
  const POINT last = steps.empty() ? from : steps.back();
  PostMessageW(entry_window, WM_LBUTTONUP, 0, 0);
  // The press runs the move loop, which takes the moves and the release.
  pump_messages();
  SendMessageW(entry_window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(last.x, last.y));
}

// Ctrl held down as hardware input while it lives.
class CtrlHeld {
 public:
  // The key message is taken off the queue at once: the move loop would
  // read it as a keyboard move.
  CtrlHeld() {
    send(0);
    pump_messages();
  }
  ~CtrlHeld() {
    send(KEYEVENTF_KEYUP);
    pump_messages();
  }

 private:
  static void send(DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CONTROL;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
  }
};

// Outline or full-window dragging for one test, the user's setting put back.
class DragFullWindows {
 public:
  explicit DragFullWindows(bool on) {
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &previous_, 0);
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, on ? TRUE : FALSE, nullptr, 0);
  }
  ~DragFullWindows() { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, previous_, nullptr, 0); }

 private:
  BOOL previous_ = FALSE;
};

POINT offset(POINT point, int dx, int dy) {
  return {point.x + dx, point.y + dy};
}

TEST(DragScenario, SnapsAndCarriesTheGroupWithOutlinesAndFullWindows) {
  for (const bool full_windows : {false, true}) {
    SCOPED_TRACE(full_windows ? "full windows" : "outlines");
    DragFullWindows setting(full_windows);
    // A fixed image, the dragged one, a follower, an image left alone.
    DragWindow main({{0, 0, 32, 32}, {100, 100, 32, 32}, {200, 100, 16, 16}, {200, 150, 32, 32}});
    App& app = main.app;
    app.sheet_view.set_entry_selected(1, true);
    app.sheet_view.set_entry_selected(2, true);
    const ImageEntry& dragged = main.entry(1);

    // Halfway to (60, 50), then to 3 right of the fixed image's right edge
    // with the tops 2 apart: it snaps flush, tops lined up.
    const POINT press = main.inside(dragged);
    drag(main.window_of(dragged), press, {offset(press, -40, -50), offset(press, -65, -98)});
    EXPECT_EQ((std::pair{dragged.x, dragged.y}), (std::pair{32, 0}));
    const RECT placed = main.client_rect_of(dragged);
    EXPECT_EQ((std::pair<int, int>{placed.left, placed.top}), (std::pair{32, 0}));
    // The follower is displaced exactly as the leader, whether the system
    // moves the window once at the drop or at every step.
    const std::pair<int, int> follower{132, 0};
    EXPECT_EQ((std::pair{main.entry(2).x, main.entry(2).y}), follower);
    const RECT follower_rect = main.client_rect_of(main.entry(2));
    EXPECT_EQ((std::pair<int, int>{follower_rect.left, follower_rect.top}), follower);
    EXPECT_EQ((std::pair{main.entry(3).x, main.entry(3).y}), (std::pair{200, 150}));
    EXPECT_EQ(main.selected(), (std::vector<int>{1, 2}));
    // Not a click: the status bar describes the dropped image.
    EXPECT_EQ(status_text(app, 1), L"(32,0)-(32,32) 0\x8272");
    EXPECT_TRUE(app.project.modified);

    // Dragging the lone image above the sheet's top-left stops it at 0, 0;
    // while it moves the status bar shows the limited rectangle. The press
    // selects it alone at once.
    app.project.modified = false;
    const ImageEntry& lone = main.entry(3);
    const POINT lone_press = main.inside(lone);
    CursorFollowsMoves cursor;
    SetCursorPos(lone_press.x, lone_press.y);
    PostMessageW(main.window_of(lone), WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(lone_press.x, lone_press.y));
    const POINT beyond = offset(lone_press, -230, -180);
    SetCursorPos(beyond.x, beyond.y);
    PostMessageW(main.window_of(lone), WM_MOUSEMOVE, MK_LBUTTON, 0);
    PostMessageW(main.window_of(lone), WM_LBUTTONUP, 0, 0);
    pump_messages();
    EXPECT_EQ(main.selected(), (std::vector<int>{3}));
    EXPECT_EQ(status_text(app, 1), L"(0,0)-(32,32)");
    EXPECT_EQ((std::pair{lone.x, lone.y}), (std::pair{0, 0}));
    EXPECT_TRUE(app.project.modified);
  }
}

TEST(DragScenario, ClicksCtrlClicksAndDoubleClickInAGroup) {
  DragWindow main({{0, 0, 32, 32}, {100, 0, 32, 32}, {200, 0, 32, 32}});
  App& app = main.app;
  const ImageEntry& middle = main.entry(1);
  const HWND middle_window = main.window_of(middle);

  // Press and release on a selected image of a group: it becomes the only
  // one selected, nothing moves and nothing is modified. It stays selected
  // while the others are deselected, so the status bar ends empty.
  app.sheet_view.select_all();
  drag(middle_window, main.inside(middle), {});
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_EQ(status_text(app, 1), L"");
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {200, 0}}));
  EXPECT_FALSE(app.project.modified);

  // With Ctrl it is deselected instead, the others staying selected.
  app.sheet_view.select_all();
  {
    CtrlHeld ctrl;
    ASSERT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    drag(middle_window, main.inside(middle), {});
  }
  EXPECT_EQ(main.selected(), (std::vector<int>{0, 2}));
  EXPECT_EQ(status_text(app, 1), L"");

  // A horizontal drag that ends at the press height moves the group and
  // then counts as a click.
  app.sheet_view.select_all();
  const POINT press = main.inside(middle);
  drag(middle_window, press, {offset(press, 40, 0)});
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{40, 0}, {140, 0}, {240, 0}}));
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_TRUE(app.project.modified);

  // A double-click selects the image alone and opens its settings under the
  // dialog guard.
  struct RecordingDialogs : DialogHooks {
    void image_settings(const ImageEntry& entry, DialogOwner owner) override {
      opened.push_back(&entry);
      owned_by_main = owner == app->main_window;
      guard_while_open = app->dialog_guard;
    }
    App* app = nullptr;
    std::vector<const ImageEntry*> opened;
    int guard_while_open = -1;
    bool owned_by_main = false;
  } dialogs;
  dialogs.app = &app;
  app.dialogs = &dialogs;
  app.sheet_view.select_all();
  const HWND last_window = main.window_of(main.entry(2));
  const POINT last = main.inside(main.entry(2));
  SendMessageW(last_window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(last.x, last.y));
  EXPECT_EQ(dialogs.opened, (std::vector<const ImageEntry*>{&main.entry(2)}));
  EXPECT_EQ(dialogs.guard_while_open, 0);
  EXPECT_TRUE(dialogs.owned_by_main);
  EXPECT_EQ(app.dialog_guard, -1);
  EXPECT_EQ(main.selected(), (std::vector<int>{2}));
  EXPECT_EQ(status_text(app, 1), L"(240,0)-(32,32) 0\x8272");
  // The mouse move after it is no click.
  SendMessageW(last_window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(last.x, last.y));
  EXPECT_EQ(main.selected(), (std::vector<int>{2}));
  app.dialogs = &app.window_dialogs;
}

TEST(DragScenario, OverlapCheckSelectsTheContainedImage) {
  std::vector<std::pair<std::wstring, std::wstring>> boxes;
  testing::DialogAnswerer answerer([&](HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    boxes.emplace_back(testing::window_text_of(box), text);
    testing::press_button(box, IDOK);
  });
  // An image wholly inside an earlier one: no corner of the earlier image
  // lies in it, yet they overlap.
  DragWindow main({{0, 0, 32, 32}, {5, 5, 10, 10}, {60, 0, 8, 8}});
  App& app = main.app;
  app.sheet_view.set_entry_selected(2, true);
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(IDM_OVERLAP_CHECK, 0), 0);
  const std::wstring caption =
      L"\x30d4\x30b3\x30cd\x30eb\xff1a\x91cd\x306a\x308a\x30c1\x30a7\x30c3\x30af";
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, caption);
  EXPECT_EQ(boxes[0].second, L"\x91cd\x306a\x3063\x3066\x307e\x3059");
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_EQ(status_text(app, 1), L"(5,5)-(10,10) 0\x8272");
  EXPECT_FALSE(app.project.modified);

  // Moved beside it, edges touching: nothing overlaps, the selection stays.
  const EntryMove beside{&main.entry(1), 32, main.entry(1).y};
  app.project.images.move({&beside, 1});
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(IDM_OVERLAP_CHECK, 0), 0);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].first, caption);
  EXPECT_EQ(boxes[1].second,
            L"\x91cd\x306a\x308a\x306f\x3042\x308a\x307e\x305b\x3093\x3067\x3057\x305f");
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_FALSE(answerer.watchdog_fired());
}

}  // namespace
}  // namespace piconel
