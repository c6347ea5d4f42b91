#pragma once

// A loaded Dib as a GDI bitmap: a DIB section whose pixels the caller can
// read (the output, the colour picker) or a bitmap compatible with a
// window's display (the sheet view). Windows only: include from *_win32.cpp
// files only.

#include <windows.h>

#include "image/dib.h"
#include "store/handles_win32.h"

namespace piconel {

// A DIB section (no device context, DIB_RGB_COLORS) described by
// bitmap_info_bytes(dib), holding a copy of the stride * height pixel bytes.
// None for a malformed Dib or when GDI refuses. A 2-bit Dib, which GDI does
// not take, is widened to 4 bits with the same colour table.
[[nodiscard]] GdiBitmap create_dib_section(const Dib& dib);

// A device-dependent bitmap made with CreateDIBitmap (CBM_INIT) on the DC of
// `window` (null: the screen), which is released again before returning.
// None for a malformed Dib or when GDI refuses; 2-bit Dibs as above.
[[nodiscard]] GdiBitmap create_device_bitmap(const Dib& dib, HWND window);

// The bitmap the loader's callers ask for: a DIB section with
// `want_dib_section`, else a bitmap compatible with `window`.
[[nodiscard]] GdiBitmap create_bitmap(const Dib& dib, bool want_dib_section, HWND window);

}  // namespace piconel
