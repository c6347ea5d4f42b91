#include "output/c_identifier.h"

#include <algorithm>
#include <array>

#include "image/image_entry.h"
#include "store/cp932.h"

namespace piconel {
namespace {

constexpr std::array<std::string_view, 44> kKeywords = {
    "auto",           "break",        "case",     "char",     "const",      "continue",
    "default",        "do",           "double",   "else",     "enum",       "extern",
    "float",          "for",          "goto",     "if",       "inline",     "int",
    "long",           "register",     "restrict", "return",   "short",      "signed",
    "sizeof",         "static",       "struct",   "switch",   "typedef",    "union",
    "unsigned",       "void",         "volatile", "while",    "_Alignas",   "_Alignof",
    "_Atomic",        "_Bool",        "_Complex", "_Generic", "_Imaginary", "_Noreturn",
    "_Static_assert", "_Thread_local"};

bool is_letter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool is_c_identifier(std::string_view name) {
  if (name.empty() || !is_letter(name[0])) {
    return false;
  }
  if (!std::all_of(name.begin(), name.end(), [](char c) { return is_letter(c) || is_digit(c); })) {
    return false;
  }
  return std::find(kKeywords.begin(), kKeywords.end(), name) == kKeywords.end();
}

std::string c_identifier_from_file_name(std::string_view path) {
  const std::string name = split_path(path).name;
  std::string label;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (starts_name_double_byte(static_cast<unsigned char>(c)) && i + 1 < name.size()) {
      ++i;  // the second byte belongs to the same character
      label += '_';
    } else if (c >= 'a' && c <= 'z') {
      label += static_cast<char>(c - 'a' + 'A');
    } else if (is_letter(c) || is_digit(c)) {
      label += c;
    } else {
      label += '_';
    }
  }
  if (!label.empty() && is_digit(label[0])) {
    label.insert(label.begin(), '_');
  }
  label.resize(std::min(label.size(), static_cast<std::size_t>(kMaxLabelBytes)));
  return label;
}

}  // namespace piconel
