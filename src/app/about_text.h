#pragma once

// What the About box shows: the build date in the form 2007/5/1 and the
// text of its edit field.

#include <string>
#include <string_view>

namespace piconel {

// The record the Help menu passes to the About box (CP932 texts).
struct AboutRecord {
  std::string_view title;
  std::string_view version;
  std::string_view author;
  std::string_view web_page;
  std::string_view mail;
};

// The About record of this program: "ピコネル", "1.0.8" and the project's
// neutral author, web page and mail address.
[[nodiscard]] AboutRecord program_about_record();

// A build date in the form of __DATE__ ("May  1 2007": month name, day
// right-aligned in two characters, year) as "%s/%s/%s" of year, month number
// without a leading zero and day: "2007/5/1". A month name not among "Jan"
// to "Dec" stays as it is.
[[nodiscard]] std::string format_build_date(std::string_view date);

// The edit field's text: title, version, build date, author, web page and
// mail address, at most 511 bytes.
[[nodiscard]] std::string about_text(const AboutRecord& record, std::string_view build_date);

// "mailto:%s" with the address, at most 255 bytes.
[[nodiscard]] std::string mail_link(std::string_view address);

}  // namespace piconel
