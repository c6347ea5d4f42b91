#pragma once

// The one way from an image file to a bitmap: plug-in decoders first (by
// extension), then the built-in PNG and GIF decoders (by extension), then the
// built-in "BM" reader; colour analysis into an entry,
// the merge into a colour list, and replacement of the transparent colour.

#include <cstdint>
#include <optional>
#include <string_view>

#include "image/colour.h"
#include "image/decode_cache.h"
#include "image/dib.h"
#include "image/image_entry.h"

namespace piconel {

class PictureDecoder;  // the plug-in host, image/picture_decoder.h

struct LoadImageRequest {
  std::string_view path;                     // full CP932 path
  ColorRef replacement_colour = -1;          // COLORREF; -1 = none for paletted pictures
  ImageEntry* entry = nullptr;               // receives the analysis; none: no analysis, no merge
  ColourList* colour_list = nullptr;         // merge target (the caller passes the sheet list)
  std::int32_t transparent_key = -1;         // -1 automatic; palette index or 0x00RRGGBB
  const PictureDecoder* decoders = nullptr;  // plug-ins, or none (tried first)
  // Decoded files of the run this load belongs to, or none: steps 1 and 2
  // below then run once for each path.
  DecodeCache* cache = nullptr;
  // With an `entry`: a 24- or 32-bit picture of at most 256 colours comes
  // back as 8 bits (step 6), which draws the same pixels for a fraction of
  // the lookups. The page output asks for it; the window keeps the depth.
  bool index_true_colour = false;
};

// Loads `request.path` into the normalised Dib of image/dib.h (bottom-up, no
// compression; 16-bit files come back as 24 bits).
//
// 1. `decoders` (when given) are asked first, then built_in_decoder(); the
//    answers of both are checked exactly like a file (accept_decoder_answer),
//    and a malformed answer counts as no answer. The automatic transparent
//    index is the decoder's probed index (0..255, else -1).
// 2. Otherwise the file is read whole and must be a well-formed "BM" file
//    (read_bitmap_file); its automatic transparent index is -1.
// 3. With an `entry`: analyse_colours (image/colour_analysis.h) with the
//    effective transparent index (`transparent_key` when 0 or more and the
//    picture has 8 bits or less, else the automatic index), then
//    merge_colours into `colour_list` when one is given (no list: no merge;
//    the window layer passes its sheet colour list).
// 4. Paletted pictures, `replacement_colour` 0 or more: the colour-table entry
//    at `transparent_key` (when 0 or more), else at the automatic index, takes
//    the replacement colour when it lies inside the table.
// 5. Deeper pictures (16-bit files included), `transparent_key` 0 or more:
//    every pixel of that colour becomes the replacement colour (white for -1).
// 6. With `index_true_colour`, an `entry` and a deeper picture whose colours
//    the analysis counted (256 or fewer): the picture becomes 8 bits, its
//    colour table the analysis' colours in order, the transparent one
//    replaced as in step 5, and each pixel the position of its colour. Its
//    file depth stays; every pixel keeps its colour.
//
// None when the file cannot be read, is not a bitmap no decoder takes, or is
// malformed in any way (see BitmapError); `entry` and `colour_list` are then
// untouched. Nothing is written back to the file.
[[nodiscard]] std::optional<Dib> load_image(const LoadImageRequest& request);

// load_image in two halves, for a caller that does the colour work of some
// pictures itself (the page output draws pictures while it merges their
// colours): steps 1 and 2, the file's picture as decoded (none
// as load_image), then steps 3 to 6 on that picture.
[[nodiscard]] std::optional<DecodedFile> decode_image(const LoadImageRequest& request);
[[nodiscard]] Dib finish_image(DecodedFile&& decoded, const LoadImageRequest& request);

}  // namespace piconel
