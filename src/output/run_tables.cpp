#include "output/run_tables.h"

namespace piconel {

void RunTables::add_page(const PageTables& page, std::optional<std::string_view> array_name) {
  label_ += page.label;
  text_ += page.text;
  little_ += page.little;
  big_ += page.big;
  if (array_name) {
    index_names_.emplace_back(std::string(*array_name));
  } else {
    index_names_.emplace_back(std::nullopt);
  }
}

std::string RunTables::text_table_file() const {
  std::string out = text_;
  // One const: a repeated qualifier is an error in C89 and C++.
  append_format(out, "const int(*img_axis_index[%d])[4] = {\r\n", page_count());
  for (const auto& name : index_names_) {
    if (name) {
      append_format(out, "\t(const int(*)[4])img_table_%s, \r\n", name->c_str());
    } else {
      out += "\t(const int(*)[4])0, \r\n";
    }
  }
  out += "};\r\n";
  return out;
}

std::string RunTables::little_table_file() const {
  std::string out;
  append_u16_little(out, page_count());
  out += little_;
  return out;
}

std::string RunTables::big_table_file() const {
  std::string out;
  append_u16_big(out, page_count());
  out += big_;
  return out;
}

}  // namespace piconel
