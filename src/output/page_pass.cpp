#include "output/page_pass.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "image/image_entry.h"
#include "image/image_path.h"
#include "image/image_row.h"
#include "image/load_image.h"
#include "output/label_format.h"
#include "output/page_file_name.h"
#include "output/page_files.h"
#include "output/page_settings.h"
#include "output/page_sheet.h"
#include "output/shared_image_rows.h"
#include "project/project.h"
#include "store/cp932.h"
#include "store/file_error.h"
#include "store/no_throw.h"

namespace piconel {
namespace {

// Copies of the page's image rows (other pages' reads may add sections to
// the store while this page is composed). False when memory runs out.
bool image_rows_of(DocumentStore& project, const std::string& section,
                   std::vector<std::string>& rows) {
  const StoreSection* list = project.find_section(section);
  if (list == nullptr) {
    return true;
  }
  return allocation_succeeds([&] {
    rows.reserve(list->entries().size());
    for (const StoreEntry& entry : list->entries()) {
      rows.emplace_back(entry.value());
    }
  });
}

}  // namespace

std::string join_path(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!folder.empty() && !ends_with_path_separator(folder)) {
    path += '\\';
  }
  path += name;
  return path;
}

PageSource read_page_source(DocumentStore& project, const SectionCursor& project_chain,
                            std::string_view page_name) {
  PageSource source;
  const SectionCursor page(project, page_property_section(page_name), &project_chain);
  source.settings = read_page_settings(page);
  source.rows_read = image_rows_of(project, page_file_section(page_name), source.rows);
  return source;
}

PagePassResult run_page_pass(const PagePassInputs& in) {
  return compose_page(read_page_source(*in.project, *in.project_chain, in.page_name), in);
}

PagePassResult compose_page(const PageSource& source, const PagePassInputs& in) {
  PagePassResult result;
  const OutputContext& context = *in.context;
  const std::string page_name(in.page_name);
  const PageSettings& settings = source.settings;
  const std::vector<std::string>& rows = source.rows;
  if (!source.rows_read) {
    result.failure = PageFailure::NoMemory;
    return result;
  }

  if (rows.empty()) {
    empty_page_tables(result.tables, context);
    result.status = PagePassStatus::Empty;
    return result;
  }
  if (settings.sheet_width <= 0 || settings.sheet_height <= 0) {
    result.failure = PageFailure::SheetSize;
    return result;
  }
  // The binary tables hold the entry count in 16 bits; only an edited file
  // holds more rows, and a wrapped count would make the tables unreadable.
  if (rows.size() > kMaxPageTableEntries) {
    result.failure = PageFailure::TooManyImages;
    return result;
  }
  // A page name that would write outside the output folder fails the page
  // before anything is loaded, as a bitmap that cannot be created does.
  const std::optional<PageFileNames> names = page_file_names(page_name, context);
  if (!names) {
    result.failure = PageFailure::BadFileName;
    return result;
  }
  const std::int32_t width = std::min(settings.sheet_width, kMaxSheetSide);
  const std::int32_t height = std::min(settings.sheet_height, kMaxSheetSide);

  open_page_tables(result.tables, context, page_name, static_cast<int>(rows.size()));

  std::optional<PageSheet> sheet;
  if (context.compose_sheet()) {
    sheet = PageSheet::create(width, height, settings.background);
    if (!sheet) {
      result.failure = PageFailure::NoMemory;
      return result;
    }
  }

  const SubstitutionList page_list = {{"PAGE", settings.page_label}, {"page", page_name}};
  ColourList palette = ColourList::starting_with(settings.background);
  ImageEntry scratch;
  std::vector<SpriteFrame> frames;

  int entry_index = 0;
  for (const std::string_view row_text : rows) {
    const ImageRow row = parse_image_row(row_text);
    const SubstitutionList entry_list = {{"file", split_path(row.path).name},
                                         {"FILE", row.settings.label}};
    const std::string label = format_label(context.label_format, page_list, entry_list);

    // A path too long to resolve counts as a file that cannot be read.
    const std::optional<std::string> path = resolve_image_path(row.path, in.project_folder);
    LoadImageRequest request;
    request.path = path ? std::string_view(*path) : std::string_view();
    request.replacement_colour = settings.background;
    // Once the page has too many colours for 8 bits its palette stays so:
    // counting a picture's colours would change nothing.
    request.entry = palette.count >= 0 ? &scratch : nullptr;
    request.colour_list = &palette;
    request.transparent_key = row.settings.transparent_on != 0 ? row.settings.transparent_key : -1;
    request.decoders = in.decoders;
    // A file no other row names is neither looked up nor kept.
    const bool shared =
        in.shared_rows == nullptr ||
        in.shared_rows->shared(in.page_position, static_cast<std::size_t>(entry_index));
    request.cache = shared ? in.decode_cache : nullptr;
    // Drawn through the palette-index path instead of a lookup per pixel.
    request.index_true_colour = true;

    CoordinateRow coordinates{row.x, row.y, 0, 0};
    std::optional<DecodedFile> decoded;
    if (path) {
      decoded = decode_image(request);
    }
    if (!decoded) {
      // Without memory for the note the image is simply not reported.
      (void)allocation_succeeds([&] { result.unreadable_images.push_back(row.path); });
    } else {
      coordinates.width = decoded->dib.width;
      coordinates.height = decoded->dib.height;
      // A picture is drawn while its colours are merged (a true-colour one
      // in one pass over its pixels); one that cannot be drawn so takes
      // load_image's way.
      const Dib& raw = decoded->dib;
      // A paletted picture's transparent entry: the row's key, else the
      // decoder's.
      const std::int32_t key = raw.bits_per_pixel <= 8 && request.transparent_key < 0
                                   ? decoded->automatic_index
                                   : request.transparent_key;
      const bool drawn =
          sheet && palette.count >= 0 &&
          sheet->draw_merging(raw, row.x, row.y, key, request.replacement_colour, palette);
      if (!drawn) {
        const Dib picture = finish_image(std::move(*decoded), request);
        if (sheet && !sheet->draw(picture, row.x, row.y, palette)) {
          result.failure = PageFailure::NoMemory;
          return result;
        }
      }
    }
    // A forced size changes what the tables record, not what is drawn.
    if (row.settings.size_forced != 0) {
      coordinates.width = row.settings.forced_width;
      coordinates.height = row.settings.forced_height;
    }
    add_entry_tables(result.tables, context, label, entry_index, in.page_index, coordinates);
    if (context.write_json &&
        !add_frame(frames, context, label, row.path, entry_index, coordinates)) {
      return result;
    }
    ++entry_index;
  }

  close_page_tables(result.tables, context, settings.page_label);

  if (sheet && !write_sheet_files(*sheet, *names, palette, settings.background, in, result)) {
    return result;
  }
  if (context.write_json && !write_frames(frames, *names, width, height, in, result)) {
    return result;
  }
  result.status = PagePassStatus::Written;
  return result;
}

}  // namespace piconel
