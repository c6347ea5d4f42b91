#include "project/page_rows_packing.h"

#include <algorithm>

#include "image/image_path.h"
#include "image/image_row.h"
#include "project/image_rows.h"
#include "project/project_keys.h"
#include "project/property_chain.h"

namespace piconel {

PageRowsPacking pack_page_rows(Project& project, std::string_view page_name,
                               const PackChoices& choices, PictureSizer& sizer, bool write) {
  PageRowsPacking result;
  if (!project.store) {
    return result;
  }
  const std::vector<std::string> texts = page_rows(*project.store, page_name);
  std::vector<ImageRow> rows;
  std::vector<PageImage> images;
  for (const std::string& text : texts) {
    ImageRow row = parse_image_row(text);
    const std::optional<std::string> path = resolve_image_path(row.path, project.folder);
    std::optional<PackSize> picture;
    if (path) {
      picture = sizer.picture_size(*path);
    }
    if (!picture) {
      // The placeholder's size (image_rows.cpp gives it the same).
      const bool forced = row.settings.size_forced != 0 && row.settings.forced_width > 0 &&
                          row.settings.forced_height > 0;
      picture = forced ? PackSize{row.settings.forced_width, row.settings.forced_height}
                       : PackSize{kPlaceholderSide, kPlaceholderSide};
      result.unreadable_paths.push_back(row.path);
    }
    images.push_back(PageImage{packing_size(picture->width, picture->height, row.settings),
                               PackPoint{row.x, row.y}, true});
    rows.push_back(std::move(row));
  }

  PackSize limits;
  {
    const PropertyChain chain(*project.store, project.settings, page_name);
    limits = page_sheet_limits(chain.start());
  }
  result.packing = pack_page_images(images, choices, limits);
  for (const std::size_t i : result.packing.too_large) {
    result.too_large_paths.push_back(rows[i].path);
  }
  if (!write || !result.packing.packed) {
    return result;
  }

  const std::string file_section = page_file_section(page_name);
  int extent_width = 0;
  int extent_height = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PackPoint at = result.packing.positions[i];
    extent_width = std::max(extent_width, at.x + images[i].size.width);
    extent_height = std::max(extent_height, at.y + images[i].size.height);
    if (at == PackPoint{rows[i].x, rows[i].y}) {
      continue;
    }
    rows[i].x = at.x;
    rows[i].y = at.y;
    const int index = static_cast<int>(i);
    static_cast<void>(project.store->delete_entry_at(file_section, index));
    static_cast<void>(project.store->insert_row(file_section, index, format_image_row(rows[i])));
  }
  const std::string property_section = page_property_section(page_name);
  static_cast<void>(project.store->set_int(property_section, kPutImageWidthKey, extent_width));
  static_cast<void>(project.store->set_int(property_section, kPutImageHeightKey, extent_height));
  return result;
}

}  // namespace piconel
