#pragma once

// The label template language of the label header: "%KEY%" is replaced by the
// value of KEY from two substitution lists, "%%" gives one percent sign.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace piconel {

// Ordered (key, value) pairs; the first pair with a key wins. Keys compare
// byte for byte, case-sensitively.
using SubstitutionList = std::vector<std::pair<std::string, std::string>>;

inline constexpr std::size_t kMaxLabelOutputBytes = 191;  // label buffer of 192 bytes
inline constexpr std::string_view kDefaultLabelFormat = "IMG_%PAGE%_%FILE%";

// Formats `label_template`, scanning left to right:
//  - a byte other than '%' is copied; "%%" gives '%';
//  - '%' and 1 to 31 bytes up to the next '%' form a key, looked up in
//    `page_list`, then in `entry_list`; the value is copied, an unknown key
//    gives nothing;
//  - when none of the 32 bytes after a '%' is '%' and the template goes on
//    beyond them, the '%' is copied as an ordinary byte;
//  - a '%' that ends the template is dropped; a key left open at the end of
//    the template is looked up like a closed one and the label ends after it.
// The result holds at most 191 bytes (copying stops there, even inside a
// double-byte character, as the fixed buffer does).
[[nodiscard]] std::string format_label(std::string_view label_template,
                                       const SubstitutionList& page_list,
                                       const SubstitutionList& entry_list);

}  // namespace piconel
