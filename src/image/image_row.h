#pragma once

// The image row: one row of a page's "FILELIST:<page>" section, nine columns
// separated by single TAB bytes:
//   path, x, y, label, size_forced, forced_width, forced_height,
//   transparent_on, transparent_key
// written "%s\t%d\t%d\t%s\t%d\t%d\t%d\t%d\t%d". The project, the image loader
// and the output all read and write rows through these two functions.

#include <cstdint>
#include <string>
#include <string_view>

#include "image/image_entry.h"

namespace piconel {

// Longest row the format can produce: 259 bytes of path, 63 of label, seven
// numbers and eight TABs stay well below it; callers may size buffers by it.
inline constexpr int kMaxImageRowBytes = 519;

struct ImageRow {
  std::string path;  // as stored: may be relative; at most 259 bytes
  std::int32_t x = 0;
  std::int32_t y = 0;
  ImageSettings settings;

  friend bool operator==(const ImageRow&, const ImageRow&) = default;
};

// Reading never fails. The row is split at every TAB; an empty column reads
// as an empty text or 0; columns beyond the ninth are ignored; a TAB at the
// very end adds no column; missing trailing columns read as empty or 0.
// Numbers follow C atoi (leading blanks, sign, digits up to the first other
// byte; out-of-range values saturate). The path keeps its first 259 bytes and
// the label its first 63 bytes (byte counts: a cut may split a double-byte
// character, as a fixed C buffer would).
[[nodiscard]] ImageRow parse_image_row(std::string_view row);

// The path column alone, as parse_image_row reads it, without the rest.
[[nodiscard]] std::string_view image_row_path(std::string_view row);

// The row text of an image. Path and label are cut to 259 and 63 bytes first,
// so the result is at most kMaxImageRowBytes long. TABs or line breaks inside
// path or label are not escaped (the format has no escape); callers keep them
// out.
[[nodiscard]] std::string format_image_row(std::string_view path, std::int32_t x, std::int32_t y,
                                           const ImageSettings& settings);
[[nodiscard]] inline std::string format_image_row(const ImageRow& row) {
  return format_image_row(row.path, row.x, row.y, row.settings);
}

}  // namespace piconel
