#include "output/page_settings.h"

#include <array>

#include "store/decimal_text.h"

namespace piconel {
namespace {

std::string_view enable_key_of(std::string_view key) {
  if (key == "TRANSPARENTCOLOR") {
    return "TRANSPARENTENABLE";
  }
  return "FIXEDSHEET";
}

bool level_enabled(const SectionCursor& level, std::string_view key) {
  const auto enable = level.get_string(enable_key_of(key));
  return enable && !enable->empty() && (*enable)[0] == '1';
}

}  // namespace

std::optional<std::string> chained_value(const SectionCursor& start, std::string_view key) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (level->section() == nullptr || !level_enabled(*level, key)) {
      continue;
    }
    if (const auto value = level->get_string(key)) {
      return std::string(*value);
    }
  }
  return std::nullopt;
}

namespace {

// The background: the first enabled level whose TRANSPARENTCOLOR has exactly
// three items (red, green, blue).
std::optional<ColorRef> chained_colour(const SectionCursor& start) {
  for (const SectionCursor* level = &start; level != nullptr; level = level->parent()) {
    if (level->section() == nullptr || !level_enabled(*level, "TRANSPARENTCOLOR")) {
      continue;
    }
    // Read as a list of at most three items, as every chained colour is.
    std::array<std::uint8_t, 3> rgb{};
    if (level->get_byte_list("TRANSPARENTCOLOR", rgb) == 3) {
      return make_colorref(rgb[0], rgb[1], rgb[2]);
    }
  }
  return std::nullopt;
}

}  // namespace

PageSettings read_page_settings(const SectionCursor& page) {
  PageSettings settings;
  const auto manual = chained_value(page, "SHEETSIZEMANUAL");
  const auto width = chained_value(page, "SHEETWIDTH");
  const auto height = chained_value(page, "SHEETHEIGHT");
  if (manual && width && height && !manual->empty() && (*manual)[0] == '1') {
    settings.sheet_width = c_atoi(*width);
    settings.sheet_height = c_atoi(*height);
  } else {
    if (const auto used = page.get_string("PUTIMAGEWIDTH"); used && !used->empty()) {
      settings.sheet_width = c_atoi(*used);
    }
    if (const auto used = page.get_string("PUTIMAGEHEIGHT"); used && !used->empty()) {
      settings.sheet_height = c_atoi(*used);
    }
  }
  if (const auto colour = chained_colour(page)) {
    settings.background = *colour;
  }
  if (const auto label = page.get_string("PAGELABEL")) {
    settings.page_label = std::string(*label);
  }
  return settings;
}

}  // namespace piconel
