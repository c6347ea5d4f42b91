#pragma once

// An image's transparent key and the colour it stands for. The key is -1 for
// none, a palette index for pictures of 8 bits or less, and the colour
// itself (0x00RRGGBB) for deeper pictures; the image settings dialog shows
// the colour and the colour picker turns a clicked colour back into a key.

#include <cstdint>

#include "image/colour.h"
#include "image/image_entry.h"

namespace piconel {

// For pictures above 8 bits the key itself; otherwise the entry's palette
// entry at the key as 0x00RRGGBB (used or not). -1 for a key below 0 and, for
// paletted pictures, for a key past the 256 entries.
[[nodiscard]] DibColour key_to_colour(const ImageEntry& entry, std::int32_t key);

// For pictures above 8 bits the colour itself (-1 stays -1); otherwise the
// lowest index among the entry's first `colour_count` used palette entries
// (`absent` 0) whose blue, green and red equal the colour, so a colour that
// the palette holds twice gives the index the picture really uses first.
// -1 when no used entry matches, and for a colour of -1.
[[nodiscard]] std::int32_t colour_to_key(const ImageEntry& entry, DibColour colour);

}  // namespace piconel
