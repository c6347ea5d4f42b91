#pragma once

// The exact lines and records one page adds to the four table files. A page
// collects them here and the output run appends them to the files only once
// the page has succeeded, so a failing page leaves no trace in any table.
//
// imgidx.h   "enum {" / "\t%s," per entry ("\t%s = %d," for the first entry
//            when page numbers go into the upper bits) / "\tIMG_%s_MAX" with
//            the page label / "};"
// imgtable.h "int img_table_%s[%d][4] = {" / "\t{ %4d, %4d, %4d, %4d}, " per
//            entry / "};"
// *.bin      entry count, then x, y, width, height per entry, each the low
//            16 bits of the number (little-endian resp. big-endian).
// Every text line ends in CR LF.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "output/output_context.h"

namespace piconel {

// Most entries one page may have: the binary tables count them in 16 bits.
inline constexpr std::size_t kMaxPageTableEntries = 65535;

// Where an image lies on its sheet and the size the tables record.
struct CoordinateRow {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct PageTables {
  std::string label;   // imgidx.h
  std::string text;    // imgtable.h
  std::string little;  // imgtable_l.bin
  std::string big;     // imgtable_b.bin
  // Where the first label's number (page index * 256) sits in `label`; empty
  // when there is none. Pages composed in parallel learn their page index
  // only when the pages before them are done.
  std::size_t page_number_begin = 0;
  std::size_t page_number_end = 0;
};

// The openings of a page with `entry_count` entries (at least one).
void open_page_tables(PageTables& tables, const OutputContext& context, std::string_view page_name,
                      int entry_count);

// One entry's label line, coordinate row and binary record. `entry_index`
// counts from 0 within the page; `page_index` is the number of pages output
// before this one in the run.
void add_entry_tables(PageTables& tables, const OutputContext& context, std::string_view label,
                      int entry_index, int page_index, const CoordinateRow& row);

// Replaces the first label's number with page_index * 256 (nothing when
// the page has no such number).
void set_page_number(PageTables& tables, int page_index);

// The closings: the _MAX enumerator with the page label, and the array end.
void close_page_tables(PageTables& tables, const OutputContext& context,
                       std::string_view page_label);

// A page without image entries: only the entry count 0 in the binary tables
// (no enumeration and no array, which C would not accept empty).
void empty_page_tables(PageTables& tables, const OutputContext& context);

// Appends `value` in decimal as printf's "%*d" would with `width`: right
// aligned with spaces, a minus sign before negative numbers.
void append_padded_int(std::string& out, std::int32_t value, std::size_t width);

// Appends the low 16 bits of `value`, low byte first / high byte first.
void append_u16_little(std::string& out, std::int32_t value);
void append_u16_big(std::string& out, std::int32_t value);

// printf-style formatting appended to `out`, never cut.
[[gnu::format(printf, 2, 3)]] void append_format(std::string& out, const char* format, ...);

}  // namespace piconel
