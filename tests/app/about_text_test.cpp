// The About box's texts: the build date and the edit field.

#include "app/about_text.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(BuildDate, FormattedAsYearMonthDay) {
  struct Case {
    const char* date;
    const char* shown;
  } const cases[] = {
      {"May  1 2007", "2007/5/1"},  {"Dec 24 2025", "2025/12/24"},
      {"Jan 10 1999", "1999/1/10"}, {"Foo  3 2001", "2001/Foo/3"},  // an unknown month name stays
      {"garbage", "garbage"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_build_date(c.date), c.shown) << c.date;
  }
}

TEST(AboutText, HoldsEveryFieldAndTheMailLink) {
  const AboutRecord record{"T", "1.0.8", "A", "https://w.invalid/", "m@x.invalid"};
  const std::string text = about_text(record, "2007/5/1");
  EXPECT_EQ(text.find("1.0.8\r\n"), text.find("1.0.8"));
  for (const char* part :
       {"T\r\n", "2007/5/1\r\n\r\n", "A\r\n", "https://w.invalid/\r\n", "m@x.invalid"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(text.substr(text.size() - 11), "m@x.invalid");
  EXPECT_EQ(mail_link("m@x.invalid"), "mailto:m@x.invalid");
  EXPECT_EQ(program_about_record().version, "1.0.8");
}

}  // namespace
}  // namespace piconel
