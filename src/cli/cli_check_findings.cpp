#include "cli/cli_check_findings.h"

#include <set>

#include "canvas/overlap_check.h"
#include "image/image_path.h"
#include "image/image_row.h"
#include "image/load_image.h"
#include "output/c_identifier.h"
#include "output/label_format.h"
#include "output/output_context.h"
#include "output/page_bitmap.h"
#include "output/page_file_name.h"
#include "output/page_pass.h"
#include "project/property_chain.h"
#include "store/cp932.h"

namespace piconel {
namespace {

// The largest sheet side written with a colour table.
constexpr std::int32_t kMaxPalettedSheetSide = kMaxEightBitSide;

bool outside_sheet(const SheetRect& rect, std::int32_t width, std::int32_t height) {
  return rect.x < 0 || rect.y < 0 || std::int64_t{rect.x} + rect.width > width ||
         std::int64_t{rect.y} + rect.height > height;
}

}  // namespace

int PageFindings::count() const {
  return static_cast<int>(unreadable.size() + overlaps.size() + outside.size() +
                          duplicate_labels.size() + invalid_labels.size()) +
         (unwritable_name ? 1 : 0) + (too_many_colours || sheet_too_large ? 1 : 0);
}

std::vector<PageFindings> check_project(Project& project, DocumentStore* settings,
                                        const PictureDecoder* decoders) {
  std::vector<PageFindings> findings;
  if (!project.store) {
    return findings;
  }
  DocumentStore& store = *project.store;
  const PropertyChain chain(store, settings, std::nullopt);
  const OutputContext context = read_output_context(chain.start());
  std::set<std::string> labels;
  const auto note_label = [&](PageFindings& page, const std::string& label) {
    if (!labels.insert(label).second) {
      page.duplicate_labels.push_back(label);
    }
    if (!is_c_identifier(label)) {
      page.invalid_labels.push_back(label);
    }
  };

  for (int index = 0; index < project.page_count; ++index) {
    const std::optional<std::string> name = page_name_at(project, index);
    if (!name) {
      continue;
    }
    PageFindings page;
    page.page = *name;
    const PageSource source = read_page_source(store, chain.start(), *name);
    page.sheet_width = source.settings.sheet_width;
    page.sheet_height = source.settings.sheet_height;
    const SubstitutionList page_list = {{"PAGE", source.settings.page_label}, {"page", *name}};
    ColourList palette = ColourList::starting_with(source.settings.background);
    ImageEntry scratch;
    std::vector<CheckedImage> images;
    for (const std::string& row_text : source.rows) {
      const ImageRow row = parse_image_row(row_text);
      if (context.write_label) {
        note_label(page, format_label(
                             context.label_format, page_list,
                             {{"file", split_path(row.path).name}, {"FILE", row.settings.label}}));
      }
      const std::optional<std::string> path = resolve_image_path(row.path, project.folder);
      LoadImageRequest request;
      request.path = path ? std::string_view(*path) : std::string_view();
      request.replacement_colour = source.settings.background;
      request.entry = &scratch;
      request.colour_list = &palette;
      request.transparent_key =
          row.settings.transparent_on != 0 ? row.settings.transparent_key : -1;
      request.decoders = decoders;
      const std::optional<Dib> picture = path ? load_image(request) : std::nullopt;
      if (!picture) {
        page.unreadable.push_back(row.path);
        continue;
      }
      images.push_back({row.path, {row.x, row.y, picture->width, picture->height}});
    }
    if (context.write_label && !source.rows.empty()) {
      note_label(page, "IMG_" + source.settings.page_label + "_MAX");
    }

    std::vector<SheetRect> rects;
    for (const CheckedImage& image : images) {
      rects.push_back(image.rect);
      if (outside_sheet(image.rect, page.sheet_width, page.sheet_height)) {
        page.outside.push_back(image);
      }
    }
    for (const auto& [earlier, later] : find_overlapping_pairs(rects)) {
      page.overlaps.emplace_back(images[static_cast<std::size_t>(earlier)],
                                 images[static_cast<std::size_t>(later)]);
    }
    if (context.write_bitmap && !source.rows.empty()) {
      page.unwritable_name = !page_bitmap_file_name(*name).has_value();
      page.too_many_colours = palette.count < 0;
      page.sheet_too_large =
          page.sheet_width > kMaxPalettedSheetSide || page.sheet_height > kMaxPalettedSheetSide;
    }
    findings.push_back(std::move(page));
  }
  return findings;
}

}  // namespace piconel
