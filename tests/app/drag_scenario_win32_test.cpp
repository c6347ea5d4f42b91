// Under Wine, the real main window with real messages: images dragged on the
// sheet view (the press, the mouse moves and the release posted to it),
// snapping, the other selected images following, the status bar and the
// modified flag; Esc putting a drag back; clicks and Ctrl-clicks in a group;
// the double-click; and the overlap check's message boxes.

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

// The view's client point under a screen point.
LPARAM client_point(const DragWindow& main, POINT screen) {
  ScreenToClient(main.app.sheet_view.window(), &screen);
  return MAKELPARAM(screen.x, screen.y);
}

// A press at `from` (screen coordinates), the cursor through `steps`, the
// release, all posted to the view as the mouse gives them.
void drag(const DragWindow& main, POINT from, const std::vector<POINT>& steps) {
  const HWND view = main.app.sheet_view.window();
  PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, client_point(main, from));
  for (const POINT& step : steps) {
    PostMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, client_point(main, step));
  }
  PostMessageW(view, WM_LBUTTONUP, 0, client_point(main, steps.empty() ? from : steps.back()));
  pump_messages();
}

// Ctrl held down as hardware input while it lives.
class CtrlHeld {
 public:
  // The key message is taken off the queue at once, so the key state the
  // press is taken with has it.
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

POINT offset(POINT point, int dx, int dy) {
  return {point.x + dx, point.y + dy};
}

TEST(DragScenario, SnapsAndCarriesTheGroupAndEscPutsItBack) {
  {
    // A fixed image, the dragged one, a follower, an image left alone.
    DragWindow main({{0, 0, 32, 32}, {100, 100, 32, 32}, {200, 100, 16, 16}, {200, 150, 32, 32}});
    App& app = main.app;
    app.sheet_view.set_entry_selected(1, true);
    app.sheet_view.set_entry_selected(2, true);
    const ImageEntry& dragged = main.entry(1);

    // Halfway to (60, 50), then to 3 right of the fixed image's right edge
    // with the tops 2 apart: it snaps flush, tops lined up.
    const POINT press = main.inside(dragged);
    drag(main, press, {offset(press, -40, -50), offset(press, -65, -98)});
    EXPECT_EQ((std::pair{dragged.x, dragged.y}), (std::pair{32, 0}));
    const RECT placed = main.client_rect_of(dragged);
    EXPECT_EQ((std::pair<int, int>{placed.left, placed.top}), (std::pair{32, 0}));
    // The follower is displaced exactly as the leader.
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
    drag(main, lone_press, {offset(lone_press, -230, -180)});
    EXPECT_EQ(main.selected(), (std::vector<int>{3}));
    EXPECT_EQ(status_text(app, 1), L"(0,0)-(32,32)");
    EXPECT_EQ((std::pair{lone.x, lone.y}), (std::pair{0, 0}));
    EXPECT_TRUE(app.project.modified);

    // Esc in the middle of a drag puts the group back where it stood at the
    // press and decides nothing; the release after it moves nothing.
    app.sheet_view.set_entry_selected(1, true);
    const POINT again = main.inside(dragged);
    const HWND view = app.sheet_view.window();
    PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, client_point(main, again));
    PostMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, client_point(main, offset(again, 50, 60)));
    pump_messages();
    EXPECT_EQ(main.positions(),
              (std::vector<std::pair<int, int>>{{0, 0}, {82, 60}, {132, 0}, {50, 60}}));
    SendMessageW(view, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(view, WM_LBUTTONUP, 0, client_point(main, offset(again, 50, 60)));
    pump_messages();
    EXPECT_EQ(main.positions(),
              (std::vector<std::pair<int, int>>{{0, 0}, {32, 0}, {132, 0}, {0, 0}}));
    EXPECT_EQ(main.selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

TEST(DragScenario, ClicksCtrlClicksAndDoubleClickInAGroup) {
  DragWindow main({{0, 0, 32, 32}, {100, 0, 32, 32}, {200, 0, 32, 32}});
  App& app = main.app;
  const ImageEntry& middle = main.entry(1);

  // Press and release on a selected image of a group: it becomes the only
  // one selected, nothing moves and nothing is modified. It stays selected
  // while the others are deselected, so the status bar ends empty.
  app.sheet_view.select_all();
  drag(main, main.inside(middle), {});
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_EQ(status_text(app, 1), L"");
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {200, 0}}));
  EXPECT_FALSE(app.project.modified);

  // With Ctrl it is deselected instead, the others staying selected.
  app.sheet_view.select_all();
  {
    CtrlHeld ctrl;
    ASSERT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    drag(main, main.inside(middle), {});
  }
  EXPECT_EQ(main.selected(), (std::vector<int>{0, 2}));
  EXPECT_EQ(status_text(app, 1), L"");

  // A horizontal drag that ends at the press height moves the group and
  // then counts as a click.
  app.sheet_view.select_all();
  const POINT press = main.inside(middle);
  drag(main, press, {offset(press, 40, 0)});
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
  const POINT last = main.inside(main.entry(2));
  SendMessageW(app.sheet_view.window(), WM_LBUTTONDBLCLK, MK_LBUTTON, client_point(main, last));
  EXPECT_EQ(dialogs.opened, (std::vector<const ImageEntry*>{&main.entry(2)}));
  EXPECT_EQ(dialogs.guard_while_open, 0);
  EXPECT_TRUE(dialogs.owned_by_main);
  EXPECT_EQ(app.dialog_guard, -1);
  EXPECT_EQ(main.selected(), (std::vector<int>{2}));
  EXPECT_EQ(status_text(app, 1), L"(240,0)-(32,32) 0\x8272");
  // The release and the mouse move after it decide nothing.
  SendMessageW(app.sheet_view.window(), WM_LBUTTONUP, 0, client_point(main, last));
  SendMessageW(app.sheet_view.window(), WM_MOUSEMOVE, 0, client_point(main, offset(last, 3, 3)));
  EXPECT_EQ(main.selected(), (std::vector<int>{2}));
  EXPECT_EQ(main.positions(), (std::vector<std::pair<int, int>>{{40, 0}, {140, 0}, {240, 0}}));
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
