#pragma once

// Colour -> first position in a page palette, looked up for every pixel of a
// true-colour picture merged into the page. The answers of ColourIndex, in a
// table sixteen times the most colours instead of twice: one slot in sixteen
// at most is taken, so nearly every colour sits in its first slot and the
// per-pixel look-up is one load and one compare (find_in_first_slot), with a
// branch that is almost never taken. One table per page: its size costs
// nothing per picture.

#include "image/colour_index.h"

namespace piconel {

using PageColourIndex = BasicColourIndex<12>;
static_assert(sizeof(PageColourIndex) >= 16 * kMaxColours * sizeof(std::uint32_t));

}  // namespace piconel
