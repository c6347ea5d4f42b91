#include "output/label_format.h"

#include <string>

#include <gtest/gtest.h>

namespace piconel {
namespace {

struct LabelCase {
  const char* name;
  std::string label_template;
  std::string expected;
};

class LabelFormatTest : public ::testing::TestWithParam<LabelCase> {};

const SubstitutionList kPage = {{"PAGE", "TITLE"}, {"page", "page001"}};
const SubstitutionList kEntry = {{"file", "logo"}, {"FILE", "LOGO"}};

TEST_P(LabelFormatTest, Formats) {
  EXPECT_EQ(format_label(GetParam().label_template, kPage, kEntry), GetParam().expected);
}

// A key of 31 bytes is the longest that still closes within the window.
const std::string k31(31, 'k');
const std::string k32(32, 'k');

INSTANTIATE_TEST_SUITE_P(
    Rules, LabelFormatTest,
    ::testing::Values(LabelCase{"DefaultTemplate", "IMG_%PAGE%_%FILE%", "IMG_TITLE_LOGO"},
                      LabelCase{"LowerCaseKeys", "%file%_%page%", "logo_page001"},
                      LabelCase{"KeysAreCaseSensitive", "IMG_%Page%", "IMG_"},
                      LabelCase{"UnknownKeyDropped", "A%NOPE%B", "AB"},
                      LabelCase{"DoublePercent", "100%%", "100%"},
                      LabelCase{"DoublePercentBeforeKey", "%%%PAGE%", "%TITLE"},
                      LabelCase{"LonePercentAtEnd", "IMG_%PAGE%_%", "IMG_TITLE_"},
                      LabelCase{"OnlyPercent", "%", ""},
                      LabelCase{"UnclosedKeyLookedUp", "X_%PAGE", "X_TITLE"},
                      LabelCase{"UnclosedUnknownKey", "X_%PAG", "X_"},
                      LabelCase{"UnclosedKeyEndsLabel", "%FILE", "LOGO"},
                      LabelCase{"EmptyTemplate", "", ""},
                      LabelCase{"PlainText", "NO_KEYS", "NO_KEYS"},
                      // '%' + 31 bytes + '%': a key (unknown, dropped).
                      LabelCase{"Key31BytesIsKey", "A%" + k31 + "%B", "AB"},
                      // '%' + 32 bytes with no '%' among them: the '%' is an ordinary byte
                      // and the second '%' (33 bytes on) opens a key that stays open.
                      LabelCase{"Key32BytesNotKey", "A%" + k32 + "%B", "A%" + k32},
                      LabelCase{"Key32BytesThenKey", "A%" + k32 + "%PAGE%", "A%" + k32 + "TITLE"},
                      // Exactly 32 bytes follow: the template does not end among them.
                      LabelCase{"Exactly32BytesLeft", "%" + k32, "%" + k32},
                      // 31 bytes follow and the template ends: an open key.
                      LabelCase{"Exactly31BytesLeft", "%" + k31, ""},
                      LabelCase{"DoubleByteNamesCopied", "\x83\x5c_%PAGE%", "\x83\x5c_TITLE"}),
    [](const ::testing::TestParamInfo<LabelCase>& case_info) {
      return std::string(case_info.param.name);
    });

TEST(LabelFormat, PageListSearchedBeforeEntryList) {
  const SubstitutionList page = {{"X", "from-page"}};
  const SubstitutionList entry = {{"X", "from-entry"}, {"Y", "y"}};
  EXPECT_EQ(format_label("%X%%Y%", page, entry), "from-pagey");
}

TEST(LabelFormat, FirstPairOfAKeyWins) {
  const SubstitutionList page = {{"X", "first"}, {"X", "second"}};
  EXPECT_EQ(format_label("%X%", page, {}), "first");
}

TEST(LabelFormat, EmptyValueGivesNothing) {
  const SubstitutionList page = {{"PAGE", ""}};
  const SubstitutionList entry = {{"FILE", ""}};
  EXPECT_EQ(format_label("IMG_%PAGE%_%FILE%", page, entry), "IMG__");
}

TEST(LabelFormat, LabelStopsAt191Bytes) {
  const std::string long_value(300, 'v');
  const SubstitutionList page = {{"V", long_value}};
  EXPECT_EQ(format_label("%V%", page, {}), std::string(191, 'v'));
  EXPECT_EQ(format_label(std::string(250, 'a'), {}, {}), std::string(191, 'a'));
  EXPECT_EQ(format_label(std::string(190, 'a') + "%%%%", {}, {}), std::string(190, 'a') + "%");
}

}  // namespace
}  // namespace piconel
