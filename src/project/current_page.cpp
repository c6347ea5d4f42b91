#include "project/current_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "image/image_path.h"
#include "image/image_row.h"
#include "project/page_operations.h"
#include "project/project_texts.h"
#include "project/property_chain.h"
#include "store/bounded_format.h"
#include "store/cp932.h"
#include "store/decimal_text.h"
#include "store/document_store.h"

namespace piconel {

namespace {

constexpr std::string_view kPageLabelKey = "PAGELABEL";
constexpr std::string_view kPutImageWidthKey = "PUTIMAGEWIDTH";
constexpr std::string_view kPutImageHeightKey = "PUTIMAGEHEIGHT";
constexpr std::size_t kPromptBytes = 512;

// The row as it is carried: a relative path gets the project folder in front
// (the form loaded images are written back in), unless the result would not
// fit the 259-byte path field; then the row stays as read.
std::string carried_form(std::string_view row_text, std::string_view stored_path,
                         std::string_view folder) {
  if (folder.empty() || stored_path.empty() || is_absolute_image_path(stored_path)) {
    return std::string(row_text);
  }
  const std::size_t path_end = std::min(row_text.find('\t'), row_text.size());
  if (folder.size() + path_end > static_cast<std::size_t>(kMaxPathBytes)) {
    return std::string(row_text);
  }
  std::string row(folder);
  row.append(row_text);
  return row;
}

std::vector<std::string> page_rows(Project& project, std::string_view page_name) {
  std::vector<std::string> rows;
  const StoreSection* section = project.store->find_section(page_file_section(page_name));
  if (section != nullptr) {
    for (const StoreEntry& entry : section->entries) {
      rows.push_back(entry.value);
    }
  }
  return rows;
}

}  // namespace

SheetExtent compute_used_extent(const ImageEntryList& entries) {
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  for (const ImageEntry& entry : entries) {
    if (!entry.has_display()) {
      continue;
    }
    right = std::max(right, std::int64_t{entry.x} + entry.width);
    bottom = std::max(bottom, std::int64_t{entry.y} + entry.height);
  }
  constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
  return {static_cast<int>(std::min(right, kIntMax)), static_cast<int>(std::min(bottom, kIntMax))};
}

bool sync_current_page(Project& project) {
  if (!project.store) {
    return false;
  }
  if (project.current_page < 0) {
    if (!new_page(project, -1)) {
      return false;
    }
    project.current_page = project.page_count - 1;
  }
  const auto name = page_name_at(project, project.current_page);
  if (!name) {
    return false;
  }
  DocumentStore& store = *project.store;
  const std::string files = page_file_section(*name);
  (void)store.delete_section(files);

  bool ok = true;
  std::size_t carried = 0;
  const auto write_carried_before = [&](int index) {
    while (carried < project.carried_rows.size() &&
           project.carried_rows[carried].position <= index) {
      ok = store.insert_row(files, -1, project.carried_rows[carried].row);
      ++carried;
    }
  };
  int index = 0;
  for (const ImageEntry& entry : project.entries) {
    write_carried_before(index);
    ok =
        store.insert_row(files, -1, format_image_row(entry.path, entry.x, entry.y, entry.settings));
    ++index;
  }
  write_carried_before(std::numeric_limits<int>::max());

  const SheetViewPort& view = *project.ports.sheet;
  if (!view.exists() && !project.carried_rows.empty()) {
    // Without a view the carried rows were never measured, so the page's
    // extent is unknown: the stored size stays as it is rather than turning
    // into the extent of the entries alone.
    return ok;
  }
  const SheetExtent extent =
      view.exists() ? view.used_extent() : compute_used_extent(project.entries);
  const std::string properties = page_property_section(*name);
  ok = store.set_int(properties, kPutImageWidthKey, extent.width);
  ok = store.set_int(properties, kPutImageHeightKey, extent.height);
  return ok;
}

bool add_image_row(Project& project, std::string_view row_text, Prompter** prompt_owner) {
  const ImageRow row = parse_image_row(row_text);
  // A resolved path longer than the path field counts as unreadable.
  const std::optional<std::string> full_path = resolve_image_path(row.path, project.folder);
  if (project.entries.size() < static_cast<std::size_t>(kMaxEntriesPerPage) && full_path) {
    ImageEntry& entry = project.entries.emplace_back();
    if (project.ports.entry_source->open_entry(entry, *full_path, row.x, row.y)) {
      entry.settings = row.settings;
      return true;
    }
    project.entries.pop_back();
  }
  if (prompt_owner != nullptr && *prompt_owner != nullptr) {
    std::string text;
    (void)bounded_format_string(text, kPromptBytes, project_texts::kUnreadableImageFormat,
                                row.path.c_str());
    if ((*prompt_owner)
            ->message_box(text, project_texts::kProjectCaption, kMbOkCancel | kMbIconExclamation) ==
        kIdCancel) {
      *prompt_owner = nullptr;
    }
  }
  project.carried_rows.push_back(
      {static_cast<int>(project.entries.size()), carried_form(row_text, row.path, project.folder)});
  return false;
}

void load_current_page(Project& project) {
  SheetViewPort& view = *project.ports.sheet;
  view.begin_page_load();
  project.entries.clear();
  project.carried_rows.clear();
  view.reset_page_state();

  if (project.store) {
    const auto name = page_name_at(project, project.current_page);
    if (view.exists()) {
      apply_page_properties(project);
      if (name) {
        Prompter* prompt_owner = project.ports.prompter;
        for (const std::string& row : page_rows(project, *name)) {
          (void)add_image_row(project, row, &prompt_owner);
        }
      }
    } else if (name) {
      // Without a view no image can be shown; the rows are kept as they are
      // so that synchronising the page does not lose them.
      for (const std::string& row : page_rows(project, *name)) {
        const ImageRow parsed = parse_image_row(row);
        project.carried_rows.push_back({0, carried_form(row, parsed.path, project.folder)});
      }
    }
  }
  view.end_page_load(project.entries);
}

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

void refresh_page_item(Project& project, int index) {
  PageListView& list = *project.ports.page_list;
  if (!list.is_open() || index < 0) {
    return;
  }
  const auto name = page_name_at(project, index);
  if (!name) {
    return;
  }
  PropertyChain chain(*project.store, project.settings, *name);
  PageItemTexts texts;
  texts.name = *name;
  if (is_flag_on(chained_string(kSheetSizeManualKey, chain.start()))) {
    texts.width = chained_string(kSheetWidthKey, chain.start()).value_or("");
    texts.height = chained_string(kSheetHeightKey, chain.start()).value_or("");
  }
  texts.label = own_string(kPageLabelKey, chain.start()).value_or("");
  list.set_item_texts(index, texts);
}

}  // namespace piconel
