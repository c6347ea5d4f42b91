#pragma once

// A scroll bar's notification code as a scroll request. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <optional>

#include "canvas/sheet_geometry.h"

namespace piconel {

// None for thumb tracking (it scrolls nothing until the thumb is released)
// and for codes that request nothing (SB_ENDSCROLL).
[[nodiscard]] inline std::optional<ScrollRequest> scroll_request_of(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::LineUp;
    case SB_LINEDOWN:
      return ScrollRequest::LineDown;
    case SB_PAGEUP:
      return ScrollRequest::PageUp;
    case SB_PAGEDOWN:
      return ScrollRequest::PageDown;
    case SB_THUMBPOSITION:
      return ScrollRequest::ThumbPosition;
    case SB_TOP:
      return ScrollRequest::Top;
    case SB_BOTTOM:
      return ScrollRequest::Bottom;
    default:
      return std::nullopt;
  }
}

}  // namespace piconel
