#include "project/current_page.h"

#include <algorithm>
#include <limits>
#include <string>

#include "project/image_rows.h"
#include "project/page_operations.h"
#include "project/page_properties.h"
#include "project/used_extent.h"
#include "store/document_store.h"

namespace piconel {

namespace {

// While a page holds rows it could not show (placeholders, or rows past 256),
// its measured extent may miss them: the stored size then never shrinks, so
// an image whose folder comes back is not cut off.
SheetExtent kept_extent(Project& project, std::string_view properties, SheetExtent extent) {
  const ImageEntryList& entries = project.images.entries();
  const bool unmeasured = !project.carried_rows.empty() ||
                          std::any_of(entries.begin(), entries.end(),
                                      [](const ImageEntry& entry) { return entry.placeholder; });
  if (!unmeasured) {
    return extent;
  }
  int stored_width = 0;
  int stored_height = 0;
  if (project.store->get_int(properties, kPutImageWidthKey, stored_width)) {
    extent.width = std::max(extent.width, stored_width);
  }
  if (project.store->get_int(properties, kPutImageHeightKey, stored_height)) {
    extent.height = std::max(extent.height, stored_height);
  }
  return extent;
}

}  // namespace

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
  for (const ImageEntry& entry : project.images.entries()) {
    write_carried_before(index);
    ok = store.insert_row(files, -1, entry_row(entry, project.folder));
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
  const std::string properties = page_property_section(*name);
  const SheetExtent extent = kept_extent(
      project, properties,
      view.exists() ? view.used_extent() : compute_used_extent(project.images.entries()));
  ok = store.set_int(properties, kPutImageWidthKey, extent.width);
  ok = store.set_int(properties, kPutImageHeightKey, extent.height);
  return ok;
}

void load_current_page(Project& project) {
  SheetViewPort& view = *project.ports.sheet;
  view.begin_page_load();
  project.images.clear();
  project.carried_rows.clear();
  view.reset_page_state();

  if (project.store) {
    const auto name = page_name_at(project, project.current_page);
    if (view.exists()) {
      apply_page_properties(project);
      if (name) {
        const std::vector<std::string> rows = page_rows(*project.store, *name);
        project.ports.entry_source->prepare_page(row_full_paths(rows, project.folder));
        Prompter* prompt_owner = project.ports.prompter;
        for (const std::string& row : rows) {
          (void)add_image_row(project, row, &prompt_owner);
        }
        project.ports.entry_source->page_loaded();
      }
    } else if (name) {
      // Without a view no image can be shown; the rows are kept so that
      // synchronising the page does not lose them.
      for (const std::string& row : page_rows(*project.store, *name)) {
        project.carried_rows.push_back({0, carried_row_form(row, project.folder)});
      }
    }
  }
  project.images.finish_load();
  view.end_page_load();
}

}  // namespace piconel
