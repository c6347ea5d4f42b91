#include "project/page_properties.h"

#include <array>
#include <cstdint>

#include "project/property_chain.h"
#include "store/decimal_text.h"

namespace piconel {

void apply_page_properties(Project& project) {
  if (!project.store) {
    return;
  }
  const auto name = page_name_at(project, project.current_page);
  if (!name) {
    return;
  }
  PropertyChain chain(*project.store, project.settings, *name);
  int width = 0;
  int height = 0;
  if (is_flag_on(chained_string(kSheetSizeManualKey, chain.start()))) {
    if (const auto value = chained_string(kSheetWidthKey, chain.start())) {
      width = c_atoi(*value);
    }
    if (const auto value = chained_string(kSheetHeightKey, chain.start())) {
      height = c_atoi(*value);
    }
  }
  SheetViewPort& view = *project.ports.sheet;
  view.set_sheet_size(width, height);

  std::array<std::uint8_t, 3> rgb = {255, 255, 255};
  (void)chained_bytes(kTransparentColourKey, rgb, chain.start());
  view.set_background_colour(make_colorref(rgb[0], rgb[1], rgb[2]));
  view.redraw();
}

}  // namespace piconel
