#include "project/image_rows.h"

#include "image/image_path.h"
#include "image/image_row.h"
#include "project/project_texts.h"
#include "project/row_forms.h"
#include "store/bounded_format.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

constexpr std::size_t kPromptBytes = 512;

// A row whose file cannot be read becomes a placeholder entry at its stored
// position, while the page has room: the user sees it and can delete it, and
// it is written back unchanged (full path when that fits, as for loaded
// images). False when the page is full or the view cannot show it.
bool open_placeholder(Project& project, const ImageRow& row,
                      const std::optional<std::string>& full_path) {
  return project.images.load_entry([&](ImageEntry& entry) {
    entry.placeholder = true;
    entry.path = full_path.value_or(row.path);
    entry.x = row.x;
    entry.y = row.y;
    entry.settings = row.settings;
    // The row keeps the picture's last known size there even when the size
    // is not forced (a loaded image stores its own), so the sheet keeps its
    // extent while the file is missing.
    entry.width = row.settings.forced_width > 0 ? row.settings.forced_width : kPlaceholderSide;
    entry.height = row.settings.forced_height > 0 ? row.settings.forced_height : kPlaceholderSide;
    return project.ports.entry_source->open_placeholder(entry);
  }) != nullptr;
}

}  // namespace

bool add_image_row(Project& project, std::string_view row_text, Prompter** prompt_owner) {
  const ImageRow row = parse_image_row(row_text);
  // A resolved path longer than the path field counts as unreadable.
  const std::optional<std::string> full_path = resolve_image_path(row.path, project.folder);
  if (full_path && project.images.load_entry([&](ImageEntry& entry) {
        if (!project.ports.entry_source->open_entry(entry, *full_path, row.x, row.y)) {
          return false;
        }
        entry.settings = row.settings;
        return true;
      }) != nullptr) {
    return true;
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
  if (!open_placeholder(project, row, full_path)) {
    project.carried_rows.push_back(
        {project.images.count(), carried_row_form(row_text, project.folder)});
  }
  return false;
}

std::string carried_row_form(std::string_view row, std::string_view folder) {
  return full_image_row(row, folder).value_or(std::string(row));
}

std::string entry_row(const ImageEntry& entry, std::string_view folder) {
  // Without a readable form (only a path from outside the checks could give
  // none) the full path is written as it is.
  const std::string path = row_path_for_entry(entry.path, folder).value_or(entry.path);
  return format_image_row(path, entry.x, entry.y, entry.settings);
}

std::vector<std::string> row_full_paths(std::span<const std::string> rows,
                                        std::string_view folder) {
  std::vector<std::string> paths;
  if (!allocation_succeeds([&] {
        paths.reserve(rows.size());
        for (const std::string& row : rows) {
          if (std::optional<std::string> path =
                  resolve_image_path(parse_image_row(row).path, folder)) {
            paths.push_back(std::move(*path));
          }
        }
      })) {
    return {};
  }
  return paths;
}

std::vector<std::string> page_rows(DocumentStore& store, std::string_view page_name) {
  std::vector<std::string> rows;
  if (const StoreSection* section = store.find_section(page_file_section(page_name))) {
    for (const StoreEntry& entry : section->entries()) {
      rows.emplace_back(entry.value());
    }
  }
  return rows;
}

}  // namespace piconel
