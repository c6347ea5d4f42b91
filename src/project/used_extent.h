#pragma once

// The part of the sheet the current page's images cover.

#include "project/project.h"

namespace piconel {

// The used extent over the entries that have a display: the largest right
// and bottom edge, 0 × 0 when none has one (capped at the int range).
[[nodiscard]] SheetExtent compute_used_extent(const ImageEntryList& entries);

}  // namespace piconel
