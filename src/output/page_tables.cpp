#include "output/page_tables.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace piconel {

void append_format(std::string& out, const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    return;
  }
  if (static_cast<std::size_t>(length) < sizeof small) {
    out.append(small, static_cast<std::size_t>(length));
    return;
  }
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(length) + 1);
  va_start(args, format);
  std::vsnprintf(out.data() + start, static_cast<std::size_t>(length) + 1, format, args);
  va_end(args);
  out.resize(start + static_cast<std::size_t>(length));
}

void append_padded_int(std::string& out, std::int32_t value, std::size_t width) {
  char digits[16];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < width) {
    out.append(width - length, ' ');
  }
  out.append(digits, length);
}

void append_u16_little(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  out.push_back(static_cast<char>(bits & 0xFF));
  out.push_back(static_cast<char>((bits >> 8) & 0xFF));
}

void append_u16_big(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  out.push_back(static_cast<char>((bits >> 8) & 0xFF));
  out.push_back(static_cast<char>(bits & 0xFF));
}

void open_page_tables(PageTables& tables, const OutputContext& context, std::string_view page_name,
                      int entry_count) {
  if (context.write_label) {
    tables.label += "enum {\r\n";
  }
  if (context.write_text_table) {
    const std::string name(page_name);
    append_format(tables.text, "int img_table_%s[%d][4] = {\r\n", name.c_str(), entry_count);
  }
  if (context.write_little_table) {
    append_u16_little(tables.little, entry_count);
  }
  if (context.write_big_table) {
    append_u16_big(tables.big, entry_count);
  }
}

void add_entry_tables(PageTables& tables, const OutputContext& context, std::string_view label,
                      int entry_index, int page_index, const CoordinateRow& row) {
  // Appended piece by piece: formatting every entry through printf was a
  // tenth of a whole output run's instructions.
  if (context.write_label) {
    tables.label += '\t';
    // As "%s" did: a label ends at a NUL byte.
    tables.label += label.substr(0, label.find('\0'));
    if (entry_index == 0 && context.page_number_in_upper_bits) {
      tables.label += " = ";
      tables.page_number_begin = tables.label.size();
      append_padded_int(tables.label, page_index * 256, 0);
      tables.page_number_end = tables.label.size();
    }
    tables.label += ",\r\n";
  }
  if (context.write_text_table) {
    // "\t{ %4d, %4d, %4d, %4d}, \r\n"
    tables.text += "\t{ ";
    append_padded_int(tables.text, row.x, 4);
    tables.text += ", ";
    append_padded_int(tables.text, row.y, 4);
    tables.text += ", ";
    append_padded_int(tables.text, row.width, 4);
    tables.text += ", ";
    append_padded_int(tables.text, row.height, 4);
    tables.text += "}, \r\n";
  }
  for (const std::int32_t value : {row.x, row.y, row.width, row.height}) {
    if (context.write_little_table) {
      append_u16_little(tables.little, value);
    }
    if (context.write_big_table) {
      append_u16_big(tables.big, value);
    }
  }
}

void set_page_number(PageTables& tables, int page_index) {
  if (tables.page_number_begin == tables.page_number_end) {
    return;
  }
  std::string number;
  append_format(number, "%d", page_index * 256);
  tables.label.replace(tables.page_number_begin, tables.page_number_end - tables.page_number_begin,
                       number);
  tables.page_number_end = tables.page_number_begin + number.size();
}

void close_page_tables(PageTables& tables, const OutputContext& context,
                       std::string_view page_label) {
  if (context.write_label) {
    const std::string text(page_label);
    append_format(tables.label, "\tIMG_%s_MAX\r\n", text.c_str());
    tables.label += "};\r\n";
  }
  if (context.write_text_table) {
    tables.text += "};\r\n";
  }
}

void empty_page_tables(PageTables& tables, const OutputContext& context) {
  if (context.write_little_table) {
    append_u16_little(tables.little, 0);
  }
  if (context.write_big_table) {
    append_u16_big(tables.big, 0);
  }
}

}  // namespace piconel
