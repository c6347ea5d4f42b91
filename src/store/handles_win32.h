#pragma once

// Owners of Win32 handles: one class per acquire/release pair, each
// move-only, each named for the release it performs. Windows only: include
// this header from *_win32.cpp files only (it includes <windows.h>). It
// lives in the lowest library so the Win32 files of every layer (the image
// loader's DIB sections as well as the window) share one set; it is header
// only, so a library that uses none of the GDI or window owners links no
// GDI or window functions.
//
//   OwnedWindow   CreateWindowExW        -> DestroyWindow
//   OwnedMenu     CreateMenu, LoadMenuW  -> DestroyMenu
//   WindowDc      GetDC(window)          -> ReleaseDC(window, dc)
//   PaintDc       BeginPaint(window, ..) -> EndPaint(window, ..)
//   MemoryDc      CreateCompatibleDC     -> DeleteDC
//   GdiObject<T>  Create{Pen,Brush,Font,Bitmap,DIBSection} -> DeleteObject
//   SelectGuard   SelectObject           -> SelectObject(previous object)
//   Library       LoadLibraryW           -> FreeLibrary
//   FileHandle    CreateFileW            -> CloseHandle (INVALID_HANDLE_VALUE is "none")
//   KernelHandle  CreateEventW, process and thread handles -> CloseHandle (null is "none")
//   WindowsHook   SetWindowsHookExW      -> UnhookWindowsHookEx
//
// Declare a GDI object before the SelectGuard that selects it, so the guard
// puts the previous object back before the object is deleted.

#include <windows.h>

#include <utility>

namespace piconel {

// A handle with one release function and one "none" value.
template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  // Takes ownership; a failed acquisition ("none") is accepted and owns nothing.
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      reset(other.release());
    }
    return *this;
  }

  [[nodiscard]] Handle get() const { return handle_; }
  [[nodiscard]] bool valid() const { return Traits::is_valid(handle_); }
  explicit operator bool() const { return valid(); }

  // Gives up ownership without releasing; the caller then owns the handle.
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::none()); }
  // Releases the owned handle (if any) and takes `handle` instead.
  void reset(Handle handle = Traits::none()) {
    const Handle old = std::exchange(handle_, handle);
    if (Traits::is_valid(old)) {
      Traits::close(old);
    }
  }

 private:
  Handle handle_ = Traits::none();
};

namespace handle_traits {

// Handles whose "none" is null.
template <typename H, auto Close>
struct NullIsNone {
  using Handle = H;
  static constexpr Handle none() { return nullptr; }
  static bool is_valid(Handle handle) { return handle != nullptr; }
  static void close(Handle handle) { Close(handle); }
};

// CreateFileW reports failure as INVALID_HANDLE_VALUE, other kernel calls as
// null; neither is ever closed.
struct File {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static bool is_valid(Handle handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
  }
  static void close(Handle handle) { CloseHandle(handle); }
};

struct Kernel : File {
  static Handle none() { return nullptr; }
};

// FindFirstFileW: INVALID_HANDLE_VALUE for failure, FindClose to end.
struct Search : File {
  static void close(Handle handle) { FindClose(handle); }
};

inline void destroy_window(HWND window) {
  DestroyWindow(window);
}
inline void destroy_menu(HMENU menu) {
  DestroyMenu(menu);
}
inline void delete_dc(HDC dc) {
  DeleteDC(dc);
}
inline void delete_gdi_object(HGDIOBJ object) {
  DeleteObject(object);
}
inline void free_library(HMODULE module) {
  FreeLibrary(module);
}
inline void unhook(HHOOK hook) {
  UnhookWindowsHookEx(hook);
}

}  // namespace handle_traits

// A window this code created and destroys. Do not wrap a window whose
// destruction is left to its parent or to the user.
using OwnedWindow = ScopedHandle<handle_traits::NullIsNone<HWND, handle_traits::destroy_window>>;
// A menu that no window owns (a window destroys its own menu bar).
using OwnedMenu = ScopedHandle<handle_traits::NullIsNone<HMENU, handle_traits::destroy_menu>>;
// A DC from CreateCompatibleDC.
using MemoryDc = ScopedHandle<handle_traits::NullIsNone<HDC, handle_traits::delete_dc>>;
// A pen, brush, font, bitmap or DIB section (never a stock object).
template <typename T>
using GdiObject = ScopedHandle<handle_traits::NullIsNone<T, handle_traits::delete_gdi_object>>;
using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiPen = GdiObject<HPEN>;
using GdiFont = GdiObject<HFONT>;
// A module from LoadLibraryW or LoadLibraryExW.
using Library = ScopedHandle<handle_traits::NullIsNone<HMODULE, handle_traits::free_library>>;
using FileHandle = ScopedHandle<handle_traits::File>;
using KernelHandle = ScopedHandle<handle_traits::Kernel>;
// A directory listing from FindFirstFileW.
using FileSearch = ScopedHandle<handle_traits::Search>;
using WindowsHook = ScopedHandle<handle_traits::NullIsNone<HHOOK, handle_traits::unhook>>;

// The DC of a window from GetDC; ReleaseDC needs the window back, so both
// are kept.
class WindowDc {
 public:
  WindowDc() = default;
  // A null window gives the DC of the screen, as GetDC does.
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { reset(); }

  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }

  [[nodiscard]] HDC get() const { return dc_; }
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] bool valid() const { return dc_ != nullptr; }
  explicit operator bool() const { return valid(); }

  void reset() {
    if (dc_ != nullptr) {
      ReleaseDC(window_, dc_);
    }
    window_ = nullptr;
    dc_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT; EndPaint needs the window and the
// PAINTSTRUCT back, so both are kept.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window) {
    paint_ = PAINTSTRUCT{};
    dc_ = BeginPaint(window, &paint_);
  }
  ~PaintDc() { reset(); }

  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  PaintDc(PaintDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)),
        dc_(std::exchange(other.dc_, nullptr)),
        paint_(other.paint_) {}
  PaintDc& operator=(PaintDc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
      paint_ = other.paint_;
    }
    return *this;
  }

  [[nodiscard]] HDC get() const { return dc_; }
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] const PAINTSTRUCT& paint() const { return paint_; }
  [[nodiscard]] bool valid() const { return dc_ != nullptr; }
  explicit operator bool() const { return valid(); }

  void reset() {
    if (dc_ != nullptr) {
      EndPaint(window_, &paint_);
    }
    window_ = nullptr;
    dc_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  PAINTSTRUCT paint_{};
};

// Selects an object into a DC and selects the previous one back when it goes.
// Neither copied nor moved: it belongs to one drawing scope.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) {
      SelectObject(dc_, previous_);
    }
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

  // False when SelectObject failed (nothing to put back).
  [[nodiscard]] bool valid() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
  [[nodiscard]] HGDIOBJ previous() const { return previous_; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace piconel
