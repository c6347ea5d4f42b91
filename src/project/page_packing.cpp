#include "project/page_packing.h"

#include <algorithm>
#include <optional>
#include <string>

#include "project/project.h"
#include "project/property_chain.h"
#include "store/decimal_text.h"

namespace piconel {
namespace {

bool flag_on(const std::optional<std::string>& value) {
  return value && !value->empty() && value->front() == '1';
}

}  // namespace

PackChoices read_pack_choices(const SectionCursor& page) {
  PackChoices choices;
  if (const std::optional<std::string> padding = first_string(kPackPaddingKey, page)) {
    choices.padding = std::clamp(c_atoi(*padding), 0, kMaxPackPadding);
  }
  choices.power_of_two = flag_on(first_string(kPackPowerOfTwoKey, page));
  choices.square = flag_on(first_string(kPackSquareKey, page));
  choices.selected_only = flag_on(first_string(kPackSelectedOnlyKey, page));
  return choices;
}

void write_pack_choices(DocumentStore& project_store, std::string_view page_name,
                        const PackChoices& choices) {
  const std::string section = page_property_section(page_name);
  static_cast<void>(project_store.set_int(section, kPackPaddingKey, choices.padding));
  static_cast<void>(project_store.set_int(section, kPackPowerOfTwoKey, choices.power_of_two));
  static_cast<void>(project_store.set_int(section, kPackSquareKey, choices.square));
  static_cast<void>(project_store.set_int(section, kPackSelectedOnlyKey, choices.selected_only));
}

PackSize page_sheet_limits(const SectionCursor& page) {
  PackSize limits{kPackSheetLimit, kPackSheetLimit};
  if (!flag_on(chained_string(kSheetSizeManualKey, page))) {
    return limits;
  }
  const std::optional<std::string> width = chained_string(kSheetWidthKey, page);
  const std::optional<std::string> height = chained_string(kSheetHeightKey, page);
  const int manual_width = width ? c_atoi(*width) : 0;
  const int manual_height = height ? c_atoi(*height) : 0;
  if (manual_width > 0 && manual_height > 0) {
    limits.width = std::min(manual_width, kPackSheetLimit);
    limits.height = std::min(manual_height, kPackSheetLimit);
  }
  return limits;
}

PackSize packing_size(std::int32_t picture_width, std::int32_t picture_height,
                      const ImageSettings& settings) {
  PackSize size{std::max(picture_width, 0), std::max(picture_height, 0)};
  if (settings.size_forced != 0) {
    size.width = std::max(size.width, settings.forced_width);
    size.height = std::max(size.height, settings.forced_height);
  }
  return size;
}

PagePacking pack_page_images(std::span<const PageImage> images, const PackChoices& choices,
                             PackSize limits) {
  std::vector<PackSize> sizes;
  std::vector<std::size_t> moved;  // image index of each packed size
  std::vector<PackRect> staying;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const PageImage& image = images[i];
    if (image.movable) {
      sizes.push_back(image.size);
      moved.push_back(i);
    } else {
      staying.push_back(PackRect{image.at.x, image.at.y, image.size.width, image.size.height});
    }
  }
  PackOptions options;
  options.padding = choices.padding;
  options.power_of_two = choices.power_of_two;
  options.square = choices.square;
  options.max_width = limits.width;
  options.max_height = limits.height;
  const PackLayout layout = pack_rectangles(sizes, staying, options);

  PagePacking packing;
  packing.positions.reserve(images.size());
  for (const PageImage& image : images) {
    packing.positions.push_back(image.at);
  }
  for (const std::size_t k : layout.too_large) {
    packing.too_large.push_back(moved[k]);
  }
  packing.packed = layout.packed;
  if (!layout.packed) {
    return packing;
  }
  for (std::size_t k = 0; k < moved.size(); ++k) {
    if (!std::binary_search(layout.too_large.begin(), layout.too_large.end(), k)) {
      packing.positions[moved[k]] = layout.positions[k];
    }
  }
  packing.box_width = layout.box_width;
  packing.box_height = layout.box_height;
  packing.sheet_width = layout.sheet_width;
  packing.sheet_height = layout.sheet_height;
  packing.fill_permille = fill_permille(layout.image_area, layout.box_width, layout.box_height);
  return packing;
}

std::string fill_text(std::int32_t fill_permille) {
  // 充填率
  std::string text = "\x8f[\x93U\x97\xa6 ";
  text += format_decimal(fill_permille / 10) + "." + format_decimal(fill_permille % 10) + "%";
  return text;
}

PackChoices current_page_pack_choices(Project& project) {
  const std::optional<std::string> page = page_name_at(project, project.current_page);
  if (!page) {
    return PackChoices{};
  }
  const PropertyChain chain(*project.store, project.settings, *page);
  return read_pack_choices(chain.start());
}

PagePacking pack_current_entries(Project& project, const PackChoices& choices) {
  const std::optional<std::string> page = page_name_at(project, project.current_page);
  if (!page) {
    return PagePacking{};
  }
  PackSize limits;
  {
    const PropertyChain chain(*project.store, project.settings, *page);
    limits = page_sheet_limits(chain.start());
  }
  std::vector<PageImage> images;
  for (const ImageEntry& entry : project.images.entries()) {
    images.push_back(PageImage{packing_size(entry.width, entry.height, entry.settings),
                               PackPoint{entry.x, entry.y},
                               !choices.selected_only || entry.selected});
  }
  PagePacking packing = pack_page_images(images, choices, limits);
  if (packing.packed) {
    std::vector<EntryMove> moves;
    std::size_t i = 0;
    for (const ImageEntry& entry : project.images.entries()) {
      moves.push_back({&entry, packing.positions[i].x, packing.positions[i].y});
      ++i;
    }
    project.images.move(moves);
  }
  return packing;
}

}  // namespace piconel
