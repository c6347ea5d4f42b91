// Under Wine: the transparent colour picker on real pictures with real
// messages: the colour text, clicks at 4 x before and after scrolling, the
// key from the lowest used palette index or the colour itself, Cancel, the
// minimum size and the layout when the dialog grows.

#include "canvas/colour_picker_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/dialog_answerer_win32.h"
#include "picture_files_win32.h"
#include "window/resource.h"

namespace piconel {
namespace {

using testing::DialogAnswerer;
using testing::entry_of;
using testing::press_button;
using testing::TempFile;
using testing::window_text_of;

// "透過色:" as the dialog shows it.
const std::wstring kColourLabel = L"\u900f\u904e\u8272:";

// 160 x 2, 8 bits: palette 1 red (never used), 2 green, 3 red, 4 green, 5
// blue. Top row: red (3), green (2), green (4), then blue; bottom row blue.
std::string paletted_picture() {
  std::string rows(160, '\5');  // bottom row
  std::string top(160, '\5');
  top[0] = '\3';
  top[1] = '\2';
  top[2] = '\4';
  return testing::bitmap_file(
      160, 2, 8, {0x000000, 0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0x0000FF}, rows + top);
}

// 2 x 1, 24 bits: 0x123456 then 0xABCDEF.
std::string true_colour_picture() {
  const std::string row = "\x56\x34\x12\xEF\xCD\xAB";
  return testing::bitmap_file(2, 1, 24, {}, row + std::string(2, '\0'));
}

HWND area_of(HWND dialog) {
  return FindWindowExW(GetDlgItem(dialog, IDC_PICKER_FRAME), nullptr, L"choicewin", nullptr);
}

void click(HWND area, int x, int y) {
  SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::wstring colour_text(HWND dialog) {
  return window_text_of(GetDlgItem(dialog, IDC_PICKER_TEXT));
}

TEST(ColourPicker, ClicksPickTheFilesOwnColours) {
  const TempFile file("piconel_picker_8bit.bmp", paletted_picture());
  const ImageEntry entry = entry_of(file.path());
  ASSERT_EQ(entry.width, 160);
  std::int32_t key = -1;
  DialogAnswerer answerer([](HWND dialog) {
    EXPECT_EQ(window_text_of(dialog), L"\u900f\u904e\u8272\u9078\u629e");  // 透過色選択
    EXPECT_EQ(colour_text(dialog), kColourLabel);                          // no colour yet
    const HWND area = area_of(dialog);
    ASSERT_NE(area, nullptr);
    // The top-left 4 x 4 block is pixel (0, 0): red.
    click(area, 3, 3);
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(ff,00,00)");
    // One line (8 area pixels) right: the same click is pixel (2, 0).
    SendMessageW(area, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(area, SB_HORZ), 8);
    click(area, 0, 0);
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(00,ff,00)");
    // Bottom: the picture's end at the area's right edge.
    SendMessageW(area, WM_HSCROLL, SB_BOTTOM, 0);
    RECT client{};
    GetClientRect(area, &client);
    EXPECT_EQ(GetScrollPos(area, SB_HORZ), 640 - client.right);
    press_button(dialog, IDOK);
  });
  EXPECT_TRUE(pick_transparent_colour(nullptr, entry, key, nullptr));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
  // Green is at 2 and 4, both used: the lower index.
  EXPECT_EQ(key, 2);
}

TEST(ColourPicker, TrueColourKeysAreTheClickedColour) {
  const TempFile file("piconel_picker_24bit.bmp", true_colour_picture());
  const ImageEntry entry = entry_of(file.path());
  std::int32_t key = 0x123456;
  DialogAnswerer answerer([](HWND dialog) {
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(12,34,56)");
    click(area_of(dialog), 5, 0);
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(ab,cd,ef)");
    press_button(dialog, IDOK);
  });
  EXPECT_TRUE(pick_transparent_colour(nullptr, entry, key, nullptr));
  EXPECT_EQ(key, 0xABCDEF);
}

TEST(ColourPicker, CancelKeepsTheKeyAfterClicks) {
  const TempFile file("piconel_picker_cancel.bmp", paletted_picture());
  const ImageEntry entry = entry_of(file.path());
  std::int32_t key = 5;
  DialogAnswerer answerer([](HWND dialog) {
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(00,00,ff)");
    click(area_of(dialog), 0, 0);
    EXPECT_EQ(colour_text(dialog), kColourLabel + L"(ff,00,00)");
    press_button(dialog, IDCANCEL);
  });
  EXPECT_FALSE(pick_transparent_colour(nullptr, entry, key, nullptr));
  EXPECT_EQ(key, 5);
}

RECT rect_in_dialog(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(ColourPicker, GrowsWithFixedMarginsAndNeverShrinks) {
  const TempFile file("piconel_picker_size.bmp", paletted_picture());
  const ImageEntry entry = entry_of(file.path());
  std::int32_t key = -1;
  DialogAnswerer answerer([](HWND dialog) {
    RECT first{};
    GetWindowRect(dialog, &first);
    const RECT frame = rect_in_dialog(dialog, IDC_PICKER_FRAME);
    const RECT text = rect_in_dialog(dialog, IDC_PICKER_TEXT);
    const RECT ok = rect_in_dialog(dialog, IDOK);
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;

    SetWindowPos(dialog, nullptr, 0, 0, width - 60, height - 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT now{};
    GetWindowRect(dialog, &now);
    EXPECT_EQ(now.right - now.left, width);
    EXPECT_EQ(now.bottom - now.top, height);

    SetWindowPos(dialog, nullptr, 0, 0, width + 80, height + 40, SWP_NOMOVE | SWP_NOZORDER);
    const RECT grown = rect_in_dialog(dialog, IDC_PICKER_FRAME);
    EXPECT_EQ(grown.left, frame.left);
    EXPECT_EQ(grown.right, frame.right + 80);
    EXPECT_EQ(grown.bottom, frame.bottom + 40);
    const RECT moved_text = rect_in_dialog(dialog, IDC_PICKER_TEXT);
    EXPECT_EQ(moved_text.left, text.left);
    EXPECT_EQ(moved_text.top, text.top + 40);
    const RECT moved_ok = rect_in_dialog(dialog, IDOK);
    EXPECT_EQ(moved_ok.left, ok.left + 80);
    EXPECT_EQ(moved_ok.top, ok.top + 40);
    // The area fills the frame and its page follows.
    RECT frame_client{};
    GetClientRect(GetDlgItem(dialog, IDC_PICKER_FRAME), &frame_client);
    RECT area_window{};
    GetWindowRect(area_of(dialog), &area_window);
    EXPECT_EQ(area_window.right - area_window.left, frame_client.right);
    EXPECT_EQ(area_window.bottom - area_window.top, frame_client.bottom);
    RECT area_client{};
    GetClientRect(area_of(dialog), &area_client);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE | SIF_RANGE;
    GetScrollInfo(area_of(dialog), SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 639);
    EXPECT_EQ(static_cast<LONG>(info.nPage), area_client.right);
    press_button(dialog, IDCANCEL);
  });
  EXPECT_FALSE(pick_transparent_colour(nullptr, entry, key, nullptr));
  EXPECT_EQ(answerer.dialogs_shown(), 1);
}

}  // namespace
}  // namespace piconel
