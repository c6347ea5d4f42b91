#pragma once

// The colour bookkeeping of the loader: which colours a picture uses, where
// its transparent colour sits among them, merging those colours into a
// colour list, and replacing the transparent colour before the picture is
// handed on. load_image runs these in order; they are separate so the rules
// can be tested on pictures built in memory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/colour.h"
#include "image/dib.h"
#include "image/image_entry.h"

namespace piconel {

// Fills the loader's part of `entry` from `dib`:
//  - bits_per_pixel := dib.file_bits_per_pixel (dib.bits_per_pixel when 0);
//  - palette, colour_count, transparent_slot: for 8 bits or less the colour
//    table with `absent` set on every entry (all 256) and cleared for each
//    index below the palette length that some pixel uses; the used entries
//    are counted in index order, and the one at `transparent_index` gives the
//    slot. Deeper pictures (a 16-bit file arrives here as 24 bits and is
//    treated the same) list their distinct colours in order of first
//    appearance, bottom row first, and turn the count to -1 at the 257th;
//    their slot is always -1;
//  - settings.transparent_key := automatic_transparent_key(dib, transparent_index);
//  - settings.forced_width / forced_height := the picture's size.
// Nothing else of the entry changes. With `true_colour_indices`, a deeper
// picture of at most 256 colours also gives each pixel's position among
// them (one byte a pixel, rows of dib_stride(8, width) bytes as stored); it
// is left empty otherwise (also for 8 bits or less, or without memory).
void analyse_colours(const Dib& dib, std::int32_t transparent_index, ImageEntry& entry,
                     std::vector<std::uint8_t>* true_colour_indices = nullptr);

// Sets used[v] for the values v the pixels of a well-formed picture of 8 bits
// or less hold; may stop as soon as every value below `wanted` is set, so a
// value at or past `wanted` may be left unset.
void mark_used_values(const Dib& dib, std::size_t wanted, std::array<bool, 256>& used);

// The default transparent key of a freshly loaded picture: for 8 bits or less
// `transparent_index` (-1 when there is none); for deeper pictures the
// colour of the top-left pixel in DIB order, masked to 24 bits.
[[nodiscard]] std::int32_t automatic_transparent_key(const Dib& dib,
                                                     std::int32_t transparent_index);

// Adds the colours `entry` says its picture uses to `list`. A count of -1 on
// either side makes and keeps the list's count -1. Otherwise each used colour
// except the transparent one (slot `transparent_slot`) is looked up by its
// three colour bytes among the list's entries, from entry 1 when the picture
// has a transparent slot (entry 0 is then taken to be the background that
// replaces it) and from entry 0 otherwise; a colour not found is appended as
// (blue, green, red, 0), and one that would be the 257th turns the count to
// -1 and ends the merge.
void merge_colours(const ImageEntry& entry, ColourList& list);

// The transparent index of a picture of 8 bits or less: `requested_key` when
// it is 0 or more, else `automatic_index`; -1 for deeper pictures.
[[nodiscard]] std::int32_t effective_transparent_index(const Dib& dib, std::int32_t requested_key,
                                                       std::int32_t automatic_index);

// Paletted replacement: for 8 bits or less and a `replacement` of 0 or more,
// the colour-table entry `index` (when inside the table) takes the
// replacement colour. Returns whether an entry changed.
bool replace_palette_colour(Dib& dib, std::int32_t index, ColorRef replacement);

// True-colour replacement: for 24 and 32 bits and a `key` of 0 or more, every
// pixel whose three colour bytes equal the key's low three bytes becomes the
// replacement colour (a replacement of -1 gives white); a 32-bit pixel's
// fourth byte becomes 0. Returns the number of pixels changed.
std::int64_t replace_true_colour(Dib& dib, DibColour key, ColorRef replacement);

}  // namespace piconel
