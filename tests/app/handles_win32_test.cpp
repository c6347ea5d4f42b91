// Every handle owner created and destroyed for real under Wine, each checked
// to have released what it owned (and nothing twice).

#include "store/handles_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "test_window_win32.h"

namespace piconel {
namespace {

using testing::make_test_window;

template <typename T>
constexpr bool kMoveOnly =
    !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
    std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;
static_assert(kMoveOnly<OwnedWindow> && kMoveOnly<MemoryDc> && kMoveOnly<GdiBitmap> &&
              kMoveOnly<Library> && kMoveOnly<FileHandle> && kMoveOnly<KernelHandle> &&
              kMoveOnly<WindowsHook> && kMoveOnly<WindowDc> && kMoveOnly<PaintDc>);

TEST(OwnedWindow, DestroysItsWindow) {
  HWND raw = nullptr;
  {
    OwnedWindow window = make_test_window(RECT{10, 10, 210, 110});
    ASSERT_TRUE(window.valid());
    raw = window.get();
    EXPECT_TRUE(IsWindow(raw));
  }
  EXPECT_FALSE(IsWindow(raw));
}

TEST(OwnedWindow, MoveTransfersOwnership) {
  OwnedWindow first = make_test_window(RECT{10, 10, 210, 110});
  OwnedWindow second = make_test_window(RECT{20, 20, 220, 120});
  const HWND first_raw = first.get();
  const HWND second_raw = second.get();

  OwnedWindow moved(std::move(first));
  EXPECT_FALSE(first.valid());  // NOLINT(bugprone-use-after-move): checked on purpose
  EXPECT_EQ(moved.get(), first_raw);

  moved = std::move(second);  // destroys the first window, takes the second
  EXPECT_FALSE(IsWindow(first_raw));
  EXPECT_TRUE(IsWindow(second_raw));

  HWND released = moved.release();
  EXPECT_FALSE(moved.valid());
  moved.reset();
  EXPECT_TRUE(IsWindow(second_raw));  // released, so not destroyed
  EXPECT_TRUE(DestroyWindow(released));
}

TEST(OwnedWindow, FailedCreationOwnsNothing) {
  OwnedWindow window(CreateWindowExW(0, L"piconel_no_such_class", L"", WS_POPUP, 0, 0, 10, 10,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  EXPECT_FALSE(window.valid());
}

TEST(WindowDc, ReleasesTheDcToItsWindow) {
  OwnedWindow window = make_test_window(RECT{10, 10, 210, 110});
  ASSERT_TRUE(window.valid());
  // Two DCs held at once are two different DCs from the cache...
  HDC first_held = GetDC(window.get());
  HDC second_held = GetDC(window.get());
  ASSERT_NE(first_held, nullptr);
  EXPECT_NE(first_held, second_held);
  ReleaseDC(window.get(), second_held);
  ReleaseDC(window.get(), first_held);

  // ...so a DC that the owner really released is the one handed out next.
  HDC first = nullptr;
  {
    WindowDc dc(window.get());
    ASSERT_TRUE(dc.valid());
    EXPECT_EQ(dc.window(), window.get());
    first = dc.get();
  }
  WindowDc again(window.get());
  EXPECT_EQ(again.get(), first);

  WindowDc moved(std::move(again));
  EXPECT_FALSE(again.valid());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(moved.window(), window.get());
  EXPECT_EQ(moved.get(), first);
}

TEST(MemoryDcAndGdiObject, DeleteWhatTheyOwn) {
  WindowDc screen(nullptr);
  ASSERT_TRUE(screen.valid());
  HDC raw_dc = nullptr;
  HGDIOBJ raw_bitmap = nullptr;
  HGDIOBJ raw_brush = nullptr;
  {
    MemoryDc dc(CreateCompatibleDC(screen.get()));
    ASSERT_TRUE(dc.valid());
    raw_dc = dc.get();
    EXPECT_EQ(GetObjectType(raw_dc), static_cast<DWORD>(OBJ_MEMDC));

    // Declared before its guard, so it is deselected before it is deleted.
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    ASSERT_TRUE(bitmap.valid());
    raw_bitmap = bitmap.get();
    GdiBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush.valid());
    raw_brush = brush.get();

    const HGDIOBJ original_bitmap = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
      SelectGuard select(dc.get(), bitmap.get());
      ASSERT_TRUE(select.valid());
      EXPECT_EQ(select.previous(), original_bitmap);
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), raw_bitmap);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original_bitmap);
    EXPECT_EQ(GetObjectType(raw_bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(raw_brush), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(raw_bitmap), 0u);
  EXPECT_EQ(GetObjectType(raw_brush), 0u);
  EXPECT_EQ(GetObjectType(raw_dc), 0u);
}

TEST(SelectGuard, FailedSelectionPutsNothingBack) {
  WindowDc screen(nullptr);
  MemoryDc dc(CreateCompatibleDC(screen.get()));
  ASSERT_TRUE(dc.valid());
  SelectGuard select(dc.get(), nullptr);
  EXPECT_FALSE(select.valid());
}

TEST(GdiObject, MoveDeletesOnlyOnce) {
  GdiPen first(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  GdiPen second(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
  const HGDIOBJ first_raw = first.get();
  const HGDIOBJ second_raw = second.get();
  first = std::move(second);
  EXPECT_EQ(GetObjectType(first_raw), 0u);
  EXPECT_EQ(GetObjectType(second_raw), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(first.get(), second_raw);
  EXPECT_FALSE(second.valid());  // NOLINT(bugprone-use-after-move)
}

// Paints one window and looks at PaintDc from inside WM_PAINT.
struct PaintSeen {
  int paints = 0;
  bool valid = false;
  bool same_window = false;
  RECT area{};
};
PaintSeen g_paint;

LRESULT CALLBACK paint_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PaintDc dc(window);
    ++g_paint.paints;
    g_paint.valid = dc.valid();
    g_paint.same_window = dc.window() == window;
    g_paint.area = dc.paint().rcPaint;
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST(PaintDc, ValidatesThePaintedArea) {
  constexpr wchar_t kClass[] = L"piconel_paint_test_window";
  ASSERT_TRUE(testing::register_test_window_class(paint_procedure, kClass));
  OwnedWindow window = make_test_window(RECT{50, 50, 250, 250}, kClass);
  ASSERT_TRUE(window.valid());
  UpdateWindow(window.get());
  g_paint = PaintSeen{};

  const RECT dirty{5, 6, 25, 36};
  InvalidateRect(window.get(), &dirty, FALSE);
  UpdateWindow(window.get());
  EXPECT_EQ(g_paint.paints, 1);
  EXPECT_TRUE(g_paint.valid);
  EXPECT_TRUE(g_paint.same_window);
  EXPECT_EQ(g_paint.area.left, 5);
  EXPECT_EQ(g_paint.area.bottom, 36);
  // BeginPaint validated the area, so nothing is left to paint.
  EXPECT_FALSE(GetUpdateRect(window.get(), nullptr, FALSE));
}

TEST(Library, FreesTheModule) {
  // A system library that nothing else here loads; the main window tests
  // may have brought it in (the common controls use it), and then its
  // release cannot be seen.
  constexpr wchar_t kName[] = L"msimg32.dll";
  if (GetModuleHandleW(kName) != nullptr) {
    GTEST_SKIP() << "msimg32.dll is already loaded by an earlier test";
  }
  {
    Library library(LoadLibraryW(kName));
    ASSERT_TRUE(library.valid());
    EXPECT_EQ(GetModuleHandleW(kName), library.get());
  }
  EXPECT_EQ(GetModuleHandleW(kName), nullptr);

  Library missing(LoadLibraryW(L"piconel_no_such_library.dll"));
  EXPECT_FALSE(missing.valid());
}

std::wstring temporary_path(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) {
    return std::wstring();
  }
  return std::wstring(folder) + name;
}

TEST(FileHandle, ClosesTheFile) {
  const std::wstring path = temporary_path(L"piconel_handle_test.tmp");
  ASSERT_FALSE(path.empty());
  {
    // Delete-on-close: the file disappears exactly when the handle closes.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(file.valid());
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    FileHandle moved(std::move(file));
    EXPECT_FALSE(file.valid());  // NOLINT(bugprone-use-after-move)
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileHandle, InvalidHandleValueIsNone) {
  FileHandle missing(CreateFileW(L"Z:\\piconel_no_such_folder\\file.txt", GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missing.valid());
  FileHandle empty;
  EXPECT_EQ(empty.get(), INVALID_HANDLE_VALUE);
}

TEST(FileSearch, ClosesTheListing) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  HANDLE raw = nullptr;
  WIN32_FIND_DATAW data{};
  {
    const FileSearch search(FindFirstFileW((std::wstring(temp) + L"*").c_str(), &data));
    ASSERT_TRUE(search.valid());
    raw = search.get();
    EXPECT_TRUE(FindNextFileW(raw, &data) || GetLastError() == ERROR_NO_MORE_FILES);
  }
  EXPECT_FALSE(FindNextFileW(raw, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  const FileSearch none(FindFirstFileW(L"Z:\\piconel_no_such_folder\\*", &data));
  EXPECT_FALSE(none.valid());
}

TEST(KernelHandle, ClosesTheHandle) {
  HANDLE raw = nullptr;
  {
    KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event.valid());
    raw = event.get();
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags));
  KernelHandle empty;
  EXPECT_EQ(empty.get(), nullptr);
}

int g_hook_calls = 0;

LRESULT CALLBACK count_calls(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    ++g_hook_calls;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(WindowsHook, UnhooksOnDestruction) {
  OwnedWindow window = make_test_window(RECT{10, 10, 210, 110});
  ASSERT_TRUE(window.valid());
  g_hook_calls = 0;
  {
    WindowsHook hook(SetWindowsHookExW(WH_CALLWNDPROC, count_calls, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook.valid());
    SendMessageW(window.get(), WM_NULL, 0, 0);
    EXPECT_GE(g_hook_calls, 1);
  }
  const int calls = g_hook_calls;
  SendMessageW(window.get(), WM_NULL, 0, 0);
  EXPECT_EQ(g_hook_calls, calls);
}

}  // namespace
}  // namespace piconel
