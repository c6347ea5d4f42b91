// Under Wine: window classes registered once, with what each asked for.

#include "window/window_class_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace piconel {
namespace {

LRESULT CALLBACK first_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK second_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}

WNDCLASSEXW registered(const wchar_t* name) {
  WNDCLASSEXW found{};
  found.cbSize = sizeof(found);
  EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), name, &found));
  return found;
}

TEST(WindowClass, RegisteredAsAskedWithTheArrowCursor) {
  const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  ASSERT_TRUE(register_window_class({.name = L"PiconelTestAsked",
                                     .procedure = first_procedure,
                                     .style = CS_HREDRAW | CS_VREDRAW,
                                     .background = white}));
  const WNDCLASSEXW found = registered(L"PiconelTestAsked");
  EXPECT_EQ(found.lpfnWndProc, first_procedure);
  EXPECT_EQ(found.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(found.hbrBackground, white);
  EXPECT_EQ(found.hCursor, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(found.hInstance, GetModuleHandleW(nullptr));
}

// Windows of a class are made again and again: a second registration of the
// name succeeds and keeps the first class.
TEST(WindowClass, SecondRegistrationKeepsTheFirst) {
  ASSERT_TRUE(register_window_class({.name = L"PiconelTestTwice", .procedure = first_procedure}));
  EXPECT_TRUE(register_window_class(
      {.name = L"PiconelTestTwice", .procedure = second_procedure, .style = CS_DBLCLKS}));
  const WNDCLASSEXW found = registered(L"PiconelTestTwice");
  EXPECT_EQ(found.lpfnWndProc, first_procedure);
  EXPECT_EQ(found.style, 0u);
}

}  // namespace
}  // namespace piconel
