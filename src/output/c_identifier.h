#pragma once

// Labels as the C identifiers of the label header (imgidx.h): a label that is
// no identifier, or a keyword, makes a header that does not compile.

#include <string>
#include <string_view>

namespace piconel {

// True when `name` is a C identifier: a letter or '_' first, then letters,
// digits and '_' (ASCII only: a double-byte character is not portable C),
// and not a keyword of C99 or C11.
[[nodiscard]] bool is_c_identifier(std::string_view name);

// A label made from an image's file name: the name without folder and
// extension (CP932-aware), letters upper-cased, every other character but
// digits and '_' (a double-byte character counts as one) turned into '_',
// '_' put in front of a leading digit, at most kMaxLabelBytes bytes. Empty
// for an empty name.
[[nodiscard]] std::string c_identifier_from_file_name(std::string_view path);

}  // namespace piconel
