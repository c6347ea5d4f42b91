#pragma once

// The page as a PNG file with exactly the pixels of its bitmap:
//  - an 8-bit page as a palette image whose palette is the bitmap's colour
//    table in order, cut after the highest index a pixel uses (no index
//    changes), at the fewest bits per pixel (1, 2, 4 or 8) that hold it;
//  - a 24-bit page as an RGB image.
// With a transparent colour, every palette entry of that colour gets alpha 0
// in a tRNS chunk (the others 255), or the RGB image a tRNS colour.
// Nothing else is written (no time, text or gamma chunks), so the same page
// always gives the same bytes.
//
// Compression: deflate at level 9 with its largest window and memory. RGB
// rows take libpng's adaptive filter choice per row; palette rows are tried
// unfiltered and filtered at a fast level and the smaller way is used.
// bench/README.md compares the sizes and times with optipng -o2.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "output/sheet_pixels.h"

namespace piconel {

// The PNG file; none when libpng fails (no memory) or an index lies beyond
// the colour table.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> encode_sheet_png(
    const SheetPixels& pixels, std::optional<PaletteEntry> transparent);

// encode_sheet_png written to `path`; false when it fails or the file cannot
// be written. With `if_changed` a file holding the same bytes stays untouched.
[[nodiscard]] bool write_sheet_png(std::string_view path, const SheetPixels& pixels,
                                   std::optional<PaletteEntry> transparent, bool if_changed);

}  // namespace piconel
