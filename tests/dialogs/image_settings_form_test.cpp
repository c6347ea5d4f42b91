// The image settings dialog's values: what it shows at opening and what OK
// stores, with nothing validated.

#include "dialogs/image_settings_form.h"

#include <gtest/gtest.h>

#include <string>

namespace piconel {
namespace {

TEST(ImageSettingsForm, OpeningShowsTheBlock) {
  const ImageSettings settings{"HERO", 1, 64, -2, 0, 7};
  const ImageSettingsForm form = form_from_settings(settings);
  EXPECT_EQ(form, (ImageSettingsForm{"HERO", true, "64", "-2", false}));
  EXPECT_TRUE(form.size_edits_enabled());
  EXPECT_FALSE(form.colour_button_enabled());
  // Any non-zero flag counts as checked.
  EXPECT_TRUE(form_from_settings(ImageSettings{"", 2, 0, 0, -1, 0}).transparent_on);
}

TEST(ImageSettingsForm, OkStoresWhatWasTyped) {
  struct Case {
    ImageSettingsForm form;
    std::int32_t key;
    ImageSettings stored;
  };
  const Case cases[] = {
      // Round trip.
      {{"HERO", true, "64", "32", true}, 5, {"HERO", 1, 64, 32, 1, 5}},
      // Numbers typed before the box was unchecked are kept with size_forced
      // 0; unchecking "透過色" keeps the key.
      {{"A", false, "12", "34", false}, 9, {"A", 0, 12, 34, 0, 9}},
      // Nothing validated: empty label, 0, negative, not a number.
      {{"", true, "0", "-5", false}, -1, {"", 1, 0, -5, 0, -1}},
      {{"x", true, "abc", " 7px", true}, 3, {"x", 1, 0, 7, 1, 3}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settings_from_form(c.form, c.key), c.stored) << c.form.label;
  }
}

TEST(ImageSettingsForm, LabelIsCutTo63BytesAtACharacter) {
  ImageSettingsForm form;
  form.label = std::string(70, 'a');
  EXPECT_EQ(settings_from_form(form, 0).label, std::string(63, 'a'));
  // ソ (0x83 0x5C) would end at byte 64: it goes whole.
  form.label = std::string(62, 'a') + "\x83\x5C";
  EXPECT_EQ(settings_from_form(form, 0).label, std::string(62, 'a'));
  // Half-width katakana are one byte each.
  form.label = std::string(62, 'a') + "\xb7\xac";
  EXPECT_EQ(settings_from_form(form, 0).label, std::string(62, 'a') + "\xb7");
}

}  // namespace
}  // namespace piconel
