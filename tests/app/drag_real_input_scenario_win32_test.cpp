// Under Wine, the real main window driven by a hand on the mouse and the
// keyboard (hardware input through the real message loop): a group dragged
// at "1/4" and "x 1" with outlines and with full windows, the wheel turned
// at "1/4" and in the middle of a drag, Ctrl+clicks, a hover after a drag
// released off its image, and the overlap check finding an image dragged
// out of a manual sheet.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "canvas/snapping.h"
#include "dialog_answerer_win32.h"
#include "drag_window_win32.h"
#include "hand_input_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DragWindow;
using testing::Hand;
using testing::status_text;
using Positions = std::vector<std::pair<int, int>>;

constexpr int kQuarterStep = 5;  // "1/4" in the zoom box
constexpr int kOneStep = 3;      // "x 1"

// Chooses a zoom box item as the user does: the selection changes, the box
// tells its parent.
void choose_zoom(const DragWindow& main, int item) {
  SendMessageW(main.app.controls.zoom_box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(main.app.controls.zoom_box));
}

// Every entry window stands where its sheet rectangle shows now (those the
// window system can place: its coordinates are 16-bit).
void expect_windows_on_their_positions(const DragWindow& main) {
  const SheetViewState& view = main.app.sheet_view.state();
  int index = 0;
  for (const ImageEntry& entry : main.app.project.images.entries()) {
    const RECT rect = main.client_rect_of(entry);
    const ViewRect want =
        entry_view_rect(sheet_rect_of(entry), view.scroll_x, view.scroll_y, view.zoom);
    if (want.left > -32768 && want.top > -32768 && want.right < 32768 && want.bottom < 32768) {
      EXPECT_EQ((std::vector<int>{rect.left, rect.top, rect.right, rect.bottom}),
                (std::vector<int>{want.left, want.top, want.right, want.bottom}))
          << index;
    }
    ++index;
  }
}

POINT offset(POINT point, int dx, int dy) {
  return {point.x + dx, point.y + dy};
}

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

// The left edges one window had while the system's move loop ran: noted at
// every mouse move the loop takes (the message filter of the loop).
class WatchDuringMoveLoop {
 public:
  explicit WatchDuringMoveLoop(const DragWindow& main, const ImageEntry& entry)
      : main_(main), entry_(entry) {
    current() = this;
    hook_.reset(SetWindowsHookExW(WH_MSGFILTER, filter, nullptr, GetCurrentThreadId()));
  }
  ~WatchDuringMoveLoop() {
    hook_.reset();
    current() = nullptr;
  }
  [[nodiscard]] const std::vector<int>& lefts() const { return lefts_; }

 private:
  static WatchDuringMoveLoop*& current() {
    static WatchDuringMoveLoop* instance = nullptr;
    return instance;
  }
  static LRESULT CALLBACK filter(int code, WPARAM wparam, LPARAM lparam) {
    // MSGF_SIZE, which the mingw-w64 headers leave out: the move loop's code.
    constexpr int kMoveLoopFilter = 4;
    const auto* message = reinterpret_cast<const MSG*>(lparam);
    if (code == kMoveLoopFilter && message->message == WM_MOUSEMOVE && current() != nullptr) {
      current()->lefts_.push_back(current()->main_.client_rect_of(current()->entry_).left);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  const DragWindow& main_;
  const ImageEntry& entry_;
  std::vector<int> lefts_;
  WindowsHook hook_;
};

TEST(DragRealInput, GroupKeepsItsShapeAtQuarterAndOneInBothDragModes) {
  // The leader snaps flush to the right of a fixed image; one follower
  // stands flush against its right edge, one against its bottom edge.
  const struct {
    int zoom_item;
    int dx, dy;  // the cursor's way in screen pixels
  } zooms[] = {{kQuarterStep, -17, -10}, {kOneStep, -66, -38}};
  for (const auto& zoom : zooms) {
    for (const bool full_windows : {false, true}) {
      SCOPED_TRACE(std::to_string(zoom.zoom_item) + (full_windows ? " full windows" : " outlines"));
      DragFullWindows setting(full_windows);
      DragWindow main({{0, 0, 33, 32},
                       {101, 40, 32, 32},
                       {133, 40, 16, 16},
                       {101, 72, 8, 8},
                       {300, 300, 16, 16}});
      App& app = main.app;
      choose_zoom(main, zoom.zoom_item);
      for (int index : {1, 2, 3}) {
        app.sheet_view.set_entry_selected(index, true);
      }
      const ImageEntry& follower = main.entry(2);
      const int follower_start = main.client_rect_of(follower).left;
      const POINT press = main.inside(main.entry(1));
      WatchDuringMoveLoop watch(main, follower);
      Hand hand;
      hand.move_to(press).press();
      for (int step = 1; step <= 3; ++step) {
        hand.move_to(offset(press, zoom.dx * step / 3, zoom.dy * step / 3));
      }
      hand.release();
      ASSERT_TRUE(hand.play());

      EXPECT_EQ(main.positions(), (Positions{{0, 0}, {33, 0}, {65, 0}, {33, 32}, {300, 300}}));
      expect_windows_on_their_positions(main);
      EXPECT_EQ(main.selected(), (std::vector<int>{1, 2, 3}));
      // Not a click: the status bar describes the dropped image.
      EXPECT_EQ(status_text(app, 1), L"(33,0)-(32,32) 0\x8272");
      EXPECT_TRUE(app.project.modified);
      // With full windows the follower is seen moving during the drag, not
      // only at the drop.
      const std::vector<int>& seen = watch.lefts();
      const int follower_end = main.client_rect_of(follower).left;
      bool moved_before_the_drop = false;
      for (const int left : seen) {
        moved_before_the_drop =
            moved_before_the_drop || (left != follower_start && left != follower_end);
      }
      EXPECT_EQ(moved_before_the_drop, full_windows);
    }
  }
}

TEST(DragRealInput, WheelAtQuarterKeepsWindowsOnTheirPositionsAlsoInADrag) {
  for (const bool full_windows : {false, true}) {
    SCOPED_TRACE(full_windows ? "full windows" : "outlines");
    DragFullWindows setting(full_windows);
    // A page much taller than the view, images on odd sheet pixels.
    DragWindow main({{41, 41, 32, 32}, {77, 41, 16, 16}, {5, 103, 8, 8}, {0, 6000, 32, 32}});
    App& app = main.app;
    choose_zoom(main, kQuarterStep);
    RECT view{};
    GetWindowRect(app.sheet_view.window(), &view);
    const POINT empty{view.left + 150, view.top + 100};

    // A click on empty sheet gives the view the focus; then a touchpad's
    // small wheel steps of 2 sheet pixels, half a view pixel each.
    Hand hand;
    hand.move_to(empty).click();
    for (int turn = 0; turn < 5; ++turn) {
      hand.wheel(-40);
    }
    ASSERT_TRUE(hand.play());
    EXPECT_EQ(app.sheet_view.state().scroll_y, 10);
    expect_windows_on_their_positions(main);

    // The first two dragged by 4 view pixels right and down, the wheel
    // turned a notch in the middle: the sheet positions come from the
    // cursor alone, 16 sheet pixels on.
    app.sheet_view.set_entry_selected(0, true);
    app.sheet_view.set_entry_selected(1, true);
    app.project.modified = false;
    const POINT press = main.inside(main.entry(0));
    hand.move_to(press).press().move_to(offset(press, 2, 2)).wheel(-120);
    hand.move_to(offset(press, 4, 4)).release();
    ASSERT_TRUE(hand.play());
    EXPECT_EQ(app.sheet_view.state().scroll_y, 18);
    EXPECT_EQ(main.positions(), (Positions{{57, 57}, {93, 57}, {5, 103}, {0, 6000}}));
    expect_windows_on_their_positions(main);
    EXPECT_TRUE(app.project.modified);
  }
}

TEST(DragRealInput, ThumbDraggedPastViewPixel65535AtX8) {
  // An image at x 9000: the sheet is 72256 view pixels wide at "x 8".
  DragWindow main({{0, 0, 32, 32}, {9000, 0, 32, 32}});
  App& app = main.app;
  choose_zoom(main, 0);
  const HWND view = app.sheet_view.window();
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof(bar);
  ASSERT_TRUE(GetScrollBarInfo(view, static_cast<LONG>(OBJID_HSCROLL), &bar));
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  const int middle_y = (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2;
  const POINT thumb{bar.rcScrollBar.left + (bar.xyThumbTop + bar.xyThumbBottom) / 2, middle_y};
  const POINT track_end{bar.rcScrollBar.right - arrow - 1, middle_y};
  Hand hand;
  hand.move_to(thumb).press().move_to({(thumb.x + track_end.x) / 2, middle_y});
  hand.move_to(track_end).release();
  ASSERT_TRUE(hand.play());
  RECT view_rect{};
  GetWindowRect(view, &view_rect);
  const int visible = (view_rect.right - view_rect.left - GetSystemMetrics(SM_CXVSCROLL)) / 8;
  EXPECT_EQ(app.sheet_view.state().scroll_x, 9032 - visible);
  expect_windows_on_their_positions(main);
}

TEST(DragRealInput, CtrlClicksAddAndRemoveImages) {
  DragWindow main({{0, 0, 32, 32}, {100, 0, 32, 32}, {200, 0, 32, 32}});
  App& app = main.app;
  Hand hand;
  // As a hand does it: over the image, Ctrl down, click, Ctrl up, then the
  // mouse goes on. (The cursor stands still while Ctrl is held: under Wine
  // in a virtual display, a moved pointer takes the modifier keys from the
  // display, where no key is down.)
  const auto ctrl_click = [&](int index) {
    const POINT at = main.inside(main.entry(index));
    hand.move_to(at).key_down(VK_CONTROL).click().key_up(VK_CONTROL);
    hand.move_to(offset(at, 7, 9));
    return hand.play();
  };

  hand.move_to(main.inside(main.entry(0))).click();
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(main.selected(), (std::vector<int>{0}));

  ASSERT_TRUE(ctrl_click(1));
  EXPECT_EQ(main.selected(), (std::vector<int>{0, 1}));
  EXPECT_EQ(status_text(app, 1), L"(100,0)-(32,32) 0\x8272");
  ASSERT_TRUE(ctrl_click(2));
  EXPECT_EQ(main.selected(), (std::vector<int>{0, 1, 2}));
  // Ctrl+click on a selected image takes it out of the selection.
  ASSERT_TRUE(ctrl_click(0));
  EXPECT_EQ(main.selected(), (std::vector<int>{1, 2}));
  EXPECT_EQ(status_text(app, 1), L"");
  // A plain click on one of the group selects it alone.
  hand.move_to(main.inside(main.entry(2))).click().move_to(main.inside(main.entry(0)));
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(main.selected(), (std::vector<int>{2}));
  EXPECT_EQ(main.positions(), (Positions{{0, 0}, {100, 0}, {200, 0}}));
  EXPECT_FALSE(app.project.modified);
}

TEST(DragRealInput, HoverAfterADragReleasedOffItsImageDecidesNothing) {
  DragWindow main({{0, 60, 32, 32}, {100, 60, 32, 32}, {200, 60, 32, 32}});
  App& app = main.app;
  app.sheet_view.set_entry_selected(1, true);
  app.sheet_view.set_entry_selected(2, true);
  // The group dragged up past the sheet's top: the images stop at y 0, the
  // cursor goes on and is released above them. Then the hand passes over
  // the unselected image at the press height.
  const POINT press = main.inside(main.entry(2));
  const POINT other = main.inside(main.entry(0));
  Hand hand;
  hand.move_to(press).press().move_to(offset(press, -3, -40)).move_to(offset(press, -3, -90));
  hand.release().move_to({other.x, press.y}).move_to(offset(other, 2, 0));
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(main.positions(), (Positions{{0, 60}, {97, 0}, {197, 0}}));
  EXPECT_EQ(main.selected(), (std::vector<int>{1, 2}));
  EXPECT_EQ(status_text(app, 1), L"(197,0)-(32,32) 0\x8272");
}

TEST(DragRealInput, OverlapCheckFindsAnImageDraggedOutOfAManualSheet) {
  std::vector<std::wstring> texts;
  testing::DialogAnswerer answerer([&](HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    texts.emplace_back(text);
    testing::press_button(box, IDOK);
  });
  DragWindow main({{0, 0, 32, 32}, {40, 0, 32, 32}, {0, 40, 16, 16}});
  App& app = main.app;
  app.sheet_view.set_sheet_size(96, 64);
  // The second image dragged 30 pixels right: its right edge at 102.
  const POINT press = main.inside(main.entry(1));
  Hand hand;
  hand.move_to(press).press().move_to(offset(press, 15, 1)).move_to(offset(press, 30, 0));
  hand.release();
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(main.positions(), (Positions{{0, 0}, {70, 0}, {0, 40}}));
  app.sheet_view.set_entry_selected(2, true);
  app.sheet_view.set_entry_selected(1, false);

  // Edit menu by the keyboard: Alt+E, down to "重なりチェック", Enter.
  hand.key_down(VK_MENU).key_down('E').key_up('E').key_up(VK_MENU);
  hand.key_down(VK_DOWN).key_up(VK_DOWN).key_down(VK_DOWN).key_up(VK_DOWN);
  hand.key_down(VK_RETURN).key_up(VK_RETURN);
  ASSERT_TRUE(hand.play());
  // シートからはみ出しています, the image selected alone and described.
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"\x30b7\x30fc\x30c8\x304b\x3089\x306f\x307f\x51fa"
                                              L"\x3057\x3066\x3044\x307e\x3059"}));
  EXPECT_EQ(main.selected(), (std::vector<int>{1}));
  EXPECT_EQ(status_text(app, 1), L"(70,0)-(32,32) 0\x8272");
  EXPECT_FALSE(answerer.watchdog_fired());
}

}  // namespace
}  // namespace piconel
