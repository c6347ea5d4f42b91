#include "output/page_settings.h"

#include <array>

#include "project/project_keys.h"
#include "project/property_chain.h"

#include "store/decimal_text.h"
#include "store/document_store.h"

namespace piconel {

PageSettings read_page_settings(const SectionCursor& page) {
  PageSettings settings;
  const auto manual = chained_string(kSheetSizeManualKey, page);
  const auto width = chained_string(kSheetWidthKey, page);
  const auto height = chained_string(kSheetHeightKey, page);
  if (width && height && is_flag_on(manual)) {
    settings.sheet_width = c_atoi(*width);
    settings.sheet_height = c_atoi(*height);
  } else {
    if (const auto used = page.get_string(kPutImageWidthKey); used && !used->empty()) {
      settings.sheet_width = c_atoi(*used);
    }
    if (const auto used = page.get_string(kPutImageHeightKey); used && !used->empty()) {
      settings.sheet_height = c_atoi(*used);
    }
  }
  // Red, green, blue from the first enabled level whose list has three items.
  std::array<std::uint8_t, 3> rgb{};
  if (chained_bytes(kTransparentColourKey, rgb, page)) {
    settings.background = make_colorref(rgb[0], rgb[1], rgb[2]);
  }
  if (const auto label = page.get_string(kPageLabelKey)) {
    settings.page_label = std::string(*label);
  }
  return settings;
}

}  // namespace piconel
