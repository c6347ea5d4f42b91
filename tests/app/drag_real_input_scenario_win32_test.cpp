// Under Wine, the real main window driven by a hand on the mouse and the
// keyboard (hardware input through the real message loop): a group dragged
// at "1/4" and "x 1" and seen moving, the wheel turned at "1/4" and in the
// middle of a drag, Ctrl+clicks, a hover after a drag released off its
// image, Esc putting a drag back, and the overlap check finding an image
// dragged out of a manual sheet. What the view shows is read from its
// pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "canvas/entry_picture_win32.h"
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

// Every image is seen where its sheet rectangle shows now, and nothing is
// left where one stood: a point just inside the left edge of each box of at
// least 6 x 6 view pixels shows the placeholder's fill (unless a later image
// covers it), and every pixel more than one pixel away from every box shows
// the sheet or, past a fixed sheet, the window colour.
void expect_images_shown_at_their_positions(const DragWindow& main) {
  const DragWindow::Pixels pixels = main.view_pixels();
  const COLORREF background = static_cast<COLORREF>(main.app.sheet_view.state().background);
  std::vector<RECT> boxes;
  for (const ImageEntry& entry : main.app.project.images.entries()) {
    boxes.push_back(main.client_rect_of(entry));
  }
  for (std::size_t index = 0; index < boxes.size(); ++index) {
    const RECT& rect = boxes[index];
    const POINT inside{rect.left + 1, (rect.top + rect.bottom) / 2};
    bool covered = false;
    for (std::size_t later = index + 1; later < boxes.size(); ++later) {
      covered = covered || PtInRect(&boxes[later], inside);
    }
    if (rect.right - rect.left >= 6 && rect.bottom - rect.top >= 6 && !covered && inside.x >= 0 &&
        inside.y >= 0 && inside.x < pixels.width && inside.y < pixels.height) {
      EXPECT_EQ(pixels.at(inside.x, inside.y), kPlaceholderFill) << index;
    }
  }
  int stale = 0;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      bool near_a_box = false;
      for (const RECT& rect : boxes) {
        near_a_box = near_a_box || (rect.left - 1 <= x && x <= rect.right && rect.top - 1 <= y &&
                                    y <= rect.bottom);
      }
      const COLORREF colour = pixels.at(x, y);
      if (!near_a_box && colour != background && colour != GetSysColor(COLOR_WINDOW)) {
        ++stale;
      }
    }
  }
  EXPECT_EQ(stale, 0) << "pixels of the view showing neither an image nor the sheet";
}

// The places one image had while the hand dragged it, as the page told them.
class WatchPositions final : public PageObserver {
 public:
  WatchPositions(PageImages& images, const ImageEntry& entry) : images_(images), entry_(entry) {
    images_.subscribe(*this);
  }
  ~WatchPositions() override { images_.unsubscribe(*this); }
  WatchPositions(const WatchPositions&) = delete;
  WatchPositions& operator=(const WatchPositions&) = delete;
  void page_changed(const PageChange& change) override {
    for (const EntryChange& item : change.entries) {
      if (change.kind == PageChangeKind::Moved && item.entry == &entry_) {
        lefts_.push_back(entry_.x);
      }
    }
  }
  [[nodiscard]] const std::vector<int>& lefts() const { return lefts_; }

 private:
  PageImages& images_;
  const ImageEntry& entry_;
  std::vector<int> lefts_;
};

POINT offset(POINT point, int dx, int dy) {
  return {point.x + dx, point.y + dy};
}

TEST(DragRealInput, GroupKeepsItsShapeAndIsSeenMovingAtQuarterAndOne) {
  // The leader snaps flush to the right of a fixed image; one follower
  // stands flush against its right edge, one against its bottom edge.
  const struct {
    int zoom_item;
    int dx, dy;  // the cursor's way in screen pixels
  } zooms[] = {{kQuarterStep, -17, -10}, {kOneStep, -66, -38}};
  for (const auto& zoom : zooms) {
    {
      SCOPED_TRACE(std::to_string(zoom.zoom_item));
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
      const int follower_start = follower.x;
      const POINT press = main.inside(main.entry(1));
      WatchPositions watch(app.project.images, follower);
      Hand hand;
      hand.move_to(press).press();
      for (int step = 1; step <= 3; ++step) {
        hand.move_to(offset(press, zoom.dx * step / 3, zoom.dy * step / 3));
      }
      hand.release();
      ASSERT_TRUE(hand.play());

      EXPECT_EQ(main.positions(), (Positions{{0, 0}, {33, 0}, {65, 0}, {33, 32}, {300, 300}}));
      expect_images_shown_at_their_positions(main);
      EXPECT_EQ(main.selected(), (std::vector<int>{1, 2, 3}));
      // Not a click: the status bar describes the dropped image.
      EXPECT_EQ(status_text(app, 1), L"(33,0)-(32,32) 0\x8272");
      EXPECT_TRUE(app.project.modified);
      // The follower is seen moving during the drag, not only at the drop.
      const std::vector<int>& seen = watch.lefts();
      bool moved_before_the_drop = false;
      for (const int left : seen) {
        moved_before_the_drop =
            moved_before_the_drop || (left != follower_start && left != follower.x);
      }
      EXPECT_TRUE(moved_before_the_drop);
    }
  }
}

TEST(DragRealInput, WheelAtQuarterShowsImagesOnTheirPositionsAlsoInADrag) {
  {
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
    expect_images_shown_at_their_positions(main);

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
    expect_images_shown_at_their_positions(main);
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
  expect_images_shown_at_their_positions(main);
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

TEST(DragRealInput, EscPutsADragBackAndADoubleClickOpensTheSettings) {
  DragWindow main({{0, 0, 32, 32}, {100, 0, 32, 32}, {200, 0, 32, 32}});
  App& app = main.app;
  app.sheet_view.set_entry_selected(1, true);
  app.sheet_view.set_entry_selected(2, true);
  app.project.modified = false;
  // Dragged 40 pixels down, Esc with the button still held, then released
  // further on: both images stand where they were, and are seen there.
  const POINT press = main.inside(main.entry(1));
  Hand hand;
  hand.move_to(press).press().move_to(offset(press, 5, 20)).move_to(offset(press, 10, 40));
  hand.key_down(VK_ESCAPE).key_up(VK_ESCAPE).move_to(offset(press, 20, 60)).release();
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(main.positions(), (Positions{{0, 0}, {100, 0}, {200, 0}}));
  EXPECT_EQ(main.selected(), (std::vector<int>{1, 2}));
  expect_images_shown_at_their_positions(main);

  // A double-click on the first image selects it alone and opens its
  // settings; Esc closes them.
  std::vector<std::wstring> captions;
  testing::DialogAnswerer answerer([&](HWND dialog) {
    captions.push_back(testing::window_text_of(dialog));
    testing::press_button(dialog, IDCANCEL);
  });
  hand.move_to(main.inside(main.entry(0))).click().click();
  ASSERT_TRUE(hand.play());
  EXPECT_EQ(captions.size(), 1u);
  EXPECT_EQ(main.selected(), (std::vector<int>{0}));
  EXPECT_EQ(status_text(app, 1), L"(0,0)-(32,32) 0\x8272");
  EXPECT_EQ(main.positions(), (Positions{{0, 0}, {100, 0}, {200, 0}}));
  EXPECT_FALSE(answerer.watchdog_fired());
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
