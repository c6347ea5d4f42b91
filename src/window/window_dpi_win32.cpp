#include "window/window_dpi_win32.h"

namespace piconel {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// A user32 function of newer systems, or null.
template <typename Function>
Function user32_function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) {
    return nullptr;
  }
  // The cast through void(*)() keeps GCC's cast-function-type warning quiet:
  // the name says which signature the function has.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

// The one DPI of the whole screen (the classic calls are scaled for it).
int system_dpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) {
    return kDefaultDpi;
  }
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int window_dpi(HWND window) {
  static const auto get_dpi_for_window =
      user32_function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi_for_window != nullptr && window != nullptr) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  return system_dpi();
}

int system_metric_for_dpi(int index, int dpi) {
  static const auto for_dpi =
      user32_function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (for_dpi != nullptr && dpi > 0) {
    return for_dpi(index, static_cast<UINT>(dpi));
  }
  return MulDiv(GetSystemMetrics(index), dpi, system_dpi());
}

bool message_font_for_dpi(int dpi, LOGFONTW& font) {
  static const auto for_dpi =
      user32_function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (for_dpi != nullptr && dpi > 0 &&
      for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    font = metrics.lfMessageFont;
    return true;
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return false;
  }
  font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, dpi, system_dpi());
  return true;
}

}  // namespace piconel
