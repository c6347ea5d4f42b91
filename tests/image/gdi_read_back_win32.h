#pragma once

// Reading a bitmap's pixels back through GDI, so the Wine tests compare what
// our code produced with what Windows itself shows.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "store/handles_win32.h"

namespace piconel {

// The bitmap's pixels as 32-bit top-down values 0x00RRGGBB, through
// GetDIBits; empty when GDI refuses.
inline std::vector<std::uint32_t> gdi_read_back(HBITMAP bitmap, std::int32_t width,
                                                std::int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const WindowDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                DIB_RGB_COLORS) != height) {
    return {};
  }
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0x00FFFFFFu;
  }
  return pixels;
}

}  // namespace piconel
