#include "project/project_file.h"

#include <array>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "project/current_page.h"
#include "project/image_rows.h"
#include "project/page_operations.h"
#include "project/project_texts.h"
#include "project/row_forms.h"
#include "store/bounded_format.h"
#include "store/cp932.h"
#include "store/no_throw.h"

namespace piconel {

namespace {

constexpr std::size_t kTitleBytes = 256;
constexpr std::size_t kMessageBytes = 256;
// The refusal names a path of up to 259 bytes.
constexpr std::size_t kRefusalBytes = 512;
constexpr std::size_t kMaxDefaultExtensionBytes = 15;

constexpr std::array<FileFilter, 2> kProjectFilters = {{
    {project_texts::kProjectFilterName, "*.ijp"},
    {project_texts::kAllFilesFilterName, "*.*"},
}};

bool relative_path_mode(const Project& project) {
  return project.settings != nullptr && read_relative_image_paths(*project.settings);
}

// The FILELIST sections of the pages in PAGELIST order, each once.
std::vector<StoreSection*> page_file_sections(DocumentStore& store) {
  std::vector<std::string> names;
  if (const StoreSection* pages = store.find_section(kPageListSection)) {
    for (const StoreEntry& entry : pages->entries()) {
      names.emplace_back(entry.value());
    }
  }
  std::vector<StoreSection*> sections;
  std::set<const StoreSection*> seen;
  for (const std::string& name : names) {
    StoreSection* section = store.find_section(page_file_section(name));
    if (section != nullptr && seen.insert(section).second) {
      sections.push_back(section);
    }
  }
  return sections;
}

// The prefix the relative rewrite strips: the folder of the project file,
// as a 260-byte buffer holds it.
std::string relative_prefix(std::string_view project_path) {
  std::string prefix = folder_of(project_path);
  if (prefix.size() > static_cast<std::size_t>(kMaxPathBytes)) {
    prefix.resize(kMaxPathBytes);
  }
  return prefix;
}

// What a save changes before it writes: the image rows of the store (each
// with its new value) and, for a save into another folder, the carried rows
// of the current page. Applied only when the whole plan could be made, and
// undone when the write fails.
struct SavePlan {
  std::vector<std::pair<StoreEntry*, std::string>> rows;
  std::vector<CarriedRow> carried_rows;
  // The first path no row in the new file could hold; empty when none.
  std::string unwritable_path;
};

// Moving: every relative row is made full against the old folder first (rows
// of pages not loaded since the open are still relative to it), and every
// row the session writes later (entries, carried rows) must also be
// writable beside the new folder. Relative mode: rows under the new folder
// then lose that prefix.
SavePlan plan_save(Project& project, bool moving, const std::string& new_folder,
                   std::optional<std::string_view> relative_to) {
  SavePlan plan;
  const auto refuse = [&](std::string_view row) {
    if (plan.unwritable_path.empty()) {
      plan.unwritable_path = std::string(row.substr(0, row.find('\t')));
    }
  };
  for (StoreSection* section : page_file_sections(*project.store)) {
    for (StoreEntry& entry : section->entries()) {
      std::string value(entry.value());
      if (moving) {
        std::optional<std::string> full = full_image_row(value, project.folder);
        if (!full) {
          refuse(value);
          continue;
        }
        value = std::move(*full);
      }
      if (relative_to) {
        value = relative_image_row(value, *relative_to);
      }
      if (value != entry.value()) {
        plan.rows.emplace_back(&entry, std::move(value));
      }
    }
  }
  if (moving) {
    for (const ImageEntry& entry : project.images.entries()) {
      if (!row_path_for_entry(entry.path, new_folder)) {
        refuse(entry.path);
      }
    }
    for (const CarriedRow& carried : project.carried_rows) {
      std::optional<std::string> full = full_image_row(carried.row, project.folder);
      if (!full) {
        refuse(carried.row);
        continue;
      }
      plan.carried_rows.push_back({carried.position, std::move(*full)});
    }
  }
  return plan;
}

// Swaps each planned value with the one in the store: applying a plan twice
// puts the old values back. Out of memory the store keeps its old values and
// the answer is false.
bool swap_rows(SavePlan& plan) {
  std::vector<std::string> old_values;
  if (!allocation_succeeds([&] {
        old_values.reserve(plan.rows.size());
        for (const auto& row : plan.rows) {
          old_values.emplace_back(row.first->value());
        }
      })) {
    return false;
  }
  for (std::size_t i = 0; i < plan.rows.size(); ++i) {
    if (!plan.rows[i].first->set_value(plan.rows[i].second)) {
      for (std::size_t j = 0; j < i; ++j) {
        (void)plan.rows[j].first->set_value(old_values[j]);
      }
      return false;
    }
  }
  for (std::size_t i = 0; i < plan.rows.size(); ++i) {
    plan.rows[i].second = std::move(old_values[i]);
  }
  return true;
}

}  // namespace

std::span<const FileFilter> project_file_filters() {
  return kProjectFilters;
}

std::string file_dialog_default_extension(std::string_view initial_name) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < initial_name.size(); ++i) {
    if (is_cp932_lead_byte(static_cast<unsigned char>(initial_name[i]))) {
      ++i;  // the second byte of the character is never a dot
    } else if (initial_name[i] == '.') {
      dot = i;
    }
  }
  if (dot == std::string_view::npos) {
    return {};
  }
  return std::string(initial_name.substr(dot + 1, kMaxDefaultExtensionBytes));
}

OpenResult open_project(Project& project, std::optional<std::string_view> path,
                        const ReplaceCheck& may_replace) {
  Prompter& prompter = *project.ports.prompter;
  std::string chosen;
  if (!path) {
    if (!prompter.ask_file_name(project_texts::kOpenDialogCaption, chosen, kProjectFilters,
                                false)) {
      return OpenResult::Cancelled;
    }
  } else {
    chosen = std::string(*path);
  }

  // The file is read into a store of its own: a file that does not load
  // leaves an open project exactly as it was, unsaved changes included.
  // Only at start-up (no project yet) does a failure go on as an untitled
  // project.
  const bool project_open = project.store != nullptr;
  auto loaded = std::make_unique<DocumentStore>();
  OpenResult result = OpenResult::Opened;
  if (!chosen.empty()) {
    if (!loaded->load(chosen, false)) {
      std::string text;
      (void)bounded_format_string(text, kMessageBytes, project_texts::kParseErrorFormat,
                                  loaded->line_count());
      (void)prompter.message_box(text, project_texts::kProjectCaption, kMbOk | kMbIconError);
      chosen.clear();
      result = OpenResult::LoadFailed;
    } else if (loaded->check_info(project_texts::kProjectApplicationName) == 0) {
      (void)prompter.message_box(project_texts::kWrongFileMessage, project_texts::kProjectCaption,
                                 kMbOk | kMbIconError);
      chosen.clear();
      result = OpenResult::WrongFile;
    }
  } else {
    result = OpenResult::NewProject;
  }
  if (project_open && (result == OpenResult::LoadFailed || result == OpenResult::WrongFile)) {
    return result;
  }
  if (project_open && may_replace && !may_replace()) {
    return OpenResult::Cancelled;
  }
  project.store = std::move(loaded);
  project.path = std::move(chosen);
  DocumentStore& store = *project.store;

  project.folder = folder_of(project.path);
  (void)store.write_info(project_texts::kProjectApplicationName, kApplicationVersion);

  int current = 0;
  (void)store.get_int(kPropertySection, kCurrentPageKey, current);
  project.current_page = current;
  project.page_count = store.entry_count(kPageListSection);
  if (project.page_count == 0) {
    (void)new_page(project, -1);
    project.current_page = 0;
  }
  if (project.current_page < 0 || project.current_page >= project.page_count) {
    project.current_page = 0;
  }

  fill_page_list(project);
  load_current_page(project);
  project.ports.page_list->select_item(project.current_page);

  project.modified = false;
  (void)update_title(project);
  return result;
}

SaveResult save_project(Project& project, std::optional<std::string_view> path) {
  if (!project.store) {
    return SaveResult::NoStore;
  }
  DocumentStore& store = *project.store;
  Prompter& prompter = *project.ports.prompter;
  std::optional<std::string> target;
  if ((path && path->empty()) || (!path && project.path.empty())) {
    std::string name = ".ijp";
    if (!prompter.ask_file_name(project_texts::kSaveDialogCaption, name, kProjectFilters, true)) {
      return SaveResult::Cancelled;
    }
    target = std::move(name);
  } else if (path) {
    target = std::string(*path);
  }

  // The same folder spelled in another letter case is the same folder, as
  // Windows sees it: its relative rows stay as they are.
  const std::string new_folder = target ? folder_of(*target) : project.folder;
  const bool moving =
      !project.folder.empty() && !equals_ignoring_ascii_case(new_folder, project.folder);
  const std::string prefix = relative_prefix(target ? *target : project.path);
  std::optional<std::string_view> relative_to;
  if (relative_path_mode(project) && !prefix.empty()) {
    relative_to = prefix;
  }
  SavePlan plan = plan_save(project, moving, new_folder, relative_to);
  if (!plan.unwritable_path.empty()) {
    std::string text;
    (void)bounded_format_string(text, kRefusalBytes, project_texts::kUnwritableRowFormat,
                                plan.unwritable_path.c_str());
    (void)prompter.message_box(text, project_texts::kSaveCaption, kMbOk | kMbIconExclamation);
    return SaveResult::Refused;
  }

  if (!swap_rows(plan)) {
    (void)prompter.message_box(project_texts::kSaveFailedMessage, project_texts::kSaveCaption,
                               kMbOk | kMbIconError);
    return SaveResult::Failed;
  }
  // CURRENTPAGE as it was, to put back when the write fails.
  const bool had_property_section = store.has_section(kPropertySection);
  std::optional<std::string> old_current;
  if (const auto value = store.get_string(kPropertySection, kCurrentPageKey)) {
    old_current = std::string(*value);
  }
  (void)store.set_int(kPropertySection, kCurrentPageKey, project.current_page);

  const bool written = target ? store.save(*target) : store.save();
  if (!written) {
    // Everything as before the save: the rows, CURRENTPAGE, and (since the
    // store records a path only once written) the store's path; the session
    // still names the old file.
    (void)swap_rows(plan);
    if (old_current) {
      (void)store.set_string(kPropertySection, kCurrentPageKey, *old_current);
    } else if (had_property_section) {
      (void)store.delete_key(kPropertySection, kCurrentPageKey);
    } else {
      (void)store.delete_section(kPropertySection);
    }
    (void)prompter.message_box(project_texts::kSaveFailedMessage, project_texts::kSaveCaption,
                               kMbOk | kMbIconError);
    return SaveResult::Failed;
  }

  if (target) {
    project.path = *target;
    if (moving || project.folder.empty()) {
      project.folder = new_folder;
    }
    if (moving) {
      project.carried_rows = std::move(plan.carried_rows);
    }
    (void)update_title(project);
  }
  if (project.modified) {
    project.modified = false;
    (void)update_title(project);
  }
  return SaveResult::Saved;
}

bool ask_save_changes(Project& project) {
  if (!project.modified) {
    return true;
  }
  const int answer = project.ports.prompter->message_box(
      project_texts::kSaveQuestion, project_texts::kSaveCaption, kMbYesNoCancel | kMbIconQuestion);
  if (answer == kIdNo) {
    return true;
  }
  if (answer != kIdYes) {
    return false;  // Cancel, or a box that could not be shown
  }
  (void)sync_current_page(project);
  const SaveResult saved = save_project(project, std::nullopt);
  return saved == SaveResult::Saved || saved == SaveResult::Cancelled;
}

void mark_modified(Project& project) {
  if (!project.modified) {
    project.modified = true;
    (void)update_title(project);
  }
}

std::string update_title(Project& project) {
  const std::string name = project.path.empty() ? std::string(project_texts::kTitleUntitled)
                                                : split_path(project.path).name;
  std::string title;
  (void)bounded_format_string(title, kTitleBytes, project_texts::kTitleFormat, name.c_str(),
                              project.modified ? project_texts::kTitleModifiedMark : "");
  project.ports.title->set_title(title);
  return title;
}

void release_project(Project& project) {
  project.images.clear();
  project.carried_rows.clear();
  if (project.store) {
    project.store->clear();
    project.store.reset();
  }
}

void make_image_rows_relative(DocumentStore& store, std::string_view project_path) {
  const std::string prefix = relative_prefix(project_path);
  if (prefix.empty()) {
    return;
  }
  for (StoreSection* section : page_file_sections(store)) {
    for (StoreEntry& entry : section->entries()) {
      // The new value is a copy, so the old one may go; out of memory the
      // row keeps its full form.
      static_cast<void>(entry.set_value(relative_image_row(entry.value(), prefix)));
    }
  }
}

bool make_image_rows_full(DocumentStore& store, std::string_view folder) {
  bool all = true;
  for (StoreSection* section : page_file_sections(store)) {
    for (StoreEntry& entry : section->entries()) {
      std::optional<std::string> full = full_image_row(entry.value(), folder);
      if (!full || !entry.set_value(*full)) {
        all = false;
      }
    }
  }
  return all;
}

}  // namespace piconel
