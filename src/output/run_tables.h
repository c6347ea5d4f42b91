#pragma once

// The four table files of one output run as they grow page by page, and
// their final bytes with the closing parts:
//  - imgidx.h: the enumerations of the output pages;
//  - imgtable.h: the arrays, then the index block
//    "const int(*img_axis_index[%d])[4] = {" with one
//    "\t(const int(*)[4])img_table_%s, " line per output page
//    ("\t(const int(*)[4])0, " for a page without entries) and "};";
//  - imgtable_l.bin / imgtable_b.bin: the number of output pages, then the
//    records of every page.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/page_tables.h"

namespace piconel {

class RunTables {
 public:
  // Appends the tables of a page that succeeded. `array_name` is the page
  // name for the index block, or none for a page without entries.
  void add_page(const PageTables& page, std::optional<std::string_view> array_name);

  int page_count() const { return static_cast<int>(index_names_.size()); }

  // Final contents (only meaningful for the files the run's context switches
  // on).
  const std::string& label_file() const { return label_; }
  std::string text_table_file() const;
  std::string little_table_file() const;
  std::string big_table_file() const;

 private:
  std::string label_;
  std::string text_;
  std::string little_;
  std::string big_;
  std::vector<std::optional<std::string>> index_names_;
};

}  // namespace piconel
