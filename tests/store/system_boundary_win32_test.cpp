// Under Wine: an exception thrown inside a window procedure stops at the
// boundary; the message gets DefWindowProcW's answer and the window lives on.

#include <windows.h>

#include <gtest/gtest.h>

#include <new>

#include "store/handles_win32.h"
#include "store/system_boundary_win32.h"

namespace piconel {
namespace {

struct Counter {
  int messages = 0;
};

LRESULT throw_on_user_message(Counter& counter, HWND window, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  ++counter.messages;
  if (message == WM_USER) {
    throw std::bad_alloc();
  }
  if (message == WM_USER + 1) {
    return 42;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST(SystemBoundary, AnExceptionInAWindowProcedureStopsThere) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = bound_window_procedure<Counter, throw_on_user_message>;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"piconel_boundary_test";
  ASSERT_NE(RegisterClassExW(&window_class), 0);
  Counter counter;
  OwnedWindow window(CreateWindowExW(0, L"piconel_boundary_test", L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), &counter));
  ASSERT_TRUE(window.valid());
  EXPECT_GT(counter.messages, 0);  // bound from WM_NCCREATE on
  const int stopped = stopped_exception_count();
  EXPECT_EQ(SendMessageW(window.get(), WM_USER, 0, 0), 0);
  EXPECT_EQ(stopped_exception_count(), stopped + 1);
  EXPECT_EQ(SendMessageW(window.get(), WM_USER + 1, 0, 0), 42);
  EXPECT_EQ(call_at_boundary(7, []() -> int { throw std::bad_alloc(); }), 7);
}

}  // namespace
}  // namespace piconel
