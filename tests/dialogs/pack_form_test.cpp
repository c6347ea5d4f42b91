#include "dialogs/pack_form.h"

#include <gtest/gtest.h>

namespace piconel {
namespace {

TEST(PackFormTest, PaddingTextRoundTripsAndBadTextIsRefused) {
  const PackChoices choices{12, true, false, true};
  const PackForm form = pack_form_from(choices);
  EXPECT_EQ(form.padding_text, "12");
  EXPECT_EQ(pack_choices_from(form), choices);

  const struct {
    const char* text;
    std::optional<int> padding;
  } cases[] = {
      {"0", 0},
      {"", 0},
      {" 7 ", 7},
      {"256", 256},
      {"257", std::nullopt},
      {"-1", std::nullopt},
      {"1.5", std::nullopt},
      {"0012", std::nullopt},
      {"x", std::nullopt},
  };
  for (const auto& c : cases) {
    PackForm typed = form;
    typed.padding_text = c.text;
    const std::optional<PackChoices> read = pack_choices_from(typed);
    ASSERT_EQ(read.has_value(), c.padding.has_value()) << c.text;
    if (read) {
      EXPECT_EQ(read->padding, *c.padding) << c.text;
      EXPECT_TRUE(read->power_of_two && read->selected_only && !read->square);
    }
  }
}

}  // namespace
}  // namespace piconel
