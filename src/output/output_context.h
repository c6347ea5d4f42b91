#pragma once

// What one output run writes, read from the project's output switches before
// the first page and handed to every page pass.

#include <string>

#include "output/label_format.h"
#include "store/section_cursor.h"

namespace piconel {

struct OutputContext {
  bool write_bitmap = false;  // one bitmap file per page
  bool write_label = false;   // imgidx.h
  std::string label_format{kDefaultLabelFormat};
  bool page_number_in_upper_bits = false;  // first label of a page = page index * 256
  bool write_text_table = false;           // imgtable.h
  bool write_little_table = false;         // imgtable_l.bin
  bool write_big_table = false;            // imgtable_b.bin
  bool write_png = false;                  // "<page>.png" with the bitmap's pixels
  bool png_transparent = false;            // the PNG's background colour transparent
  bool write_json = false;                 // "<page>.json": the frames for sprite loaders

  // The page is composed when a picture of it is written.
  bool compose_sheet() const { return write_bitmap || write_png; }
};

// The switches of the project's PROPERTY section (`project`, a cursor on it):
// OUTPUT_BMP on when absent, the others off; OUTPUT_LABEL_FORMAT cut to 259
// bytes, the default template when absent.
[[nodiscard]] OutputContext read_output_context(const SectionCursor& project);

}  // namespace piconel
