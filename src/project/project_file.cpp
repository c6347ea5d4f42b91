#include "project/project_file.h"

#include <array>
#include <memory>
#include <set>
#include <vector>

#include "project/current_page.h"
#include "project/page_operations.h"
#include "project/project_texts.h"
#include "store/bounded_format.h"
#include "store/cp932.h"

namespace piconel {

namespace {

constexpr std::string_view kCurrentPageKey = "CURRENTPAGE";
constexpr std::string_view kRelativePathKey = "PROJ_RELATIVEPATH";
constexpr std::size_t kTitleBytes = 256;
constexpr std::size_t kMessageBytes = 256;
constexpr std::size_t kMaxDefaultExtensionBytes = 15;

constexpr std::array<FileFilter, 2> kProjectFilters = {{
    {project_texts::kProjectFilterName, "*.ijp"},
    {project_texts::kAllFilesFilterName, "*.*"},
}};

bool relative_path_mode(const Project& project) {
  if (project.settings == nullptr) {
    return false;
  }
  return project.settings->get_flag("PROPERTY", kRelativePathKey);
}

// The FILELIST sections of the pages in PAGELIST order, each once.
std::vector<StoreSection*> page_file_sections(DocumentStore& store) {
  std::vector<std::string> names;
  if (const StoreSection* pages = store.find_section(kPageListSection)) {
    for (const StoreEntry& entry : pages->entries) {
      names.push_back(entry.value);
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

void open_project(Project& project, std::optional<std::string_view> path) {
  if (!project.store) {
    project.store = std::make_unique<DocumentStore>();
  }
  Prompter& prompter = *project.ports.prompter;
  std::string chosen;
  if (!path) {
    if (!prompter.ask_file_name(project_texts::kOpenDialogCaption, chosen, kProjectFilters,
                                false)) {
      return;
    }
  } else {
    chosen = std::string(*path);
  }
  project.path = chosen;

  DocumentStore& store = *project.store;
  if (!project.path.empty()) {
    if (!store.load(project.path, false)) {
      std::string text;
      (void)bounded_format_string(text, kMessageBytes, project_texts::kParseErrorFormat,
                                  store.line_count());
      (void)prompter.message_box(text, project_texts::kProjectCaption, kMbOk | kMbIconError);
      project.path.clear();
    } else if (store.check_info(project_texts::kProjectApplicationName) == 0) {
      (void)prompter.message_box(project_texts::kWrongFileMessage, project_texts::kProjectCaption,
                                 kMbOk | kMbIconError);
      project.path.clear();
    }
  } else {
    store.clear();
  }
  project.folder = folder_of(project.path);
  (void)store.write_info(project_texts::kProjectApplicationName, kApplicationVersion);

  int current = 0;
  (void)store.get_int(kProjectPropertySection, kCurrentPageKey, current);
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
}

SaveResult save_project(Project& project, std::optional<std::string_view> path) {
  if (!project.store) {
    return SaveResult::NoStore;
  }
  DocumentStore& store = *project.store;
  (void)store.set_int(kProjectPropertySection, kCurrentPageKey, project.current_page);

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

  const bool relative = relative_path_mode(project);
  bool written = false;
  if (target) {
    project.path = *target;
    // Rows of pages not loaded since the open may still be relative to the
    // old folder; they are made full before the folder changes under them.
    const std::string new_folder = folder_of(project.path);
    if (new_folder != project.folder) {
      make_image_rows_full(store, project.folder);
      project.folder = new_folder;
    }
    if (relative) {
      make_image_rows_relative(store, project.path);
    }
    written = store.save(project.path);
    (void)update_title(project);
  } else {
    if (relative) {
      make_image_rows_relative(store, project.path);
    }
    written = store.save();
  }

  if (!written) {
    (void)prompter.message_box(project_texts::kSaveFailedMessage, project_texts::kSaveCaption,
                               kMbOk | kMbIconError);
    return SaveResult::Failed;
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
  return save_project(project, std::nullopt) != SaveResult::Failed;
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
  project.entries.clear();
  project.carried_rows.clear();
  if (project.store) {
    project.store->clear();
    project.store.reset();
  }
}

void make_image_rows_relative(DocumentStore& store, std::string_view project_path) {
  std::string prefix = folder_of(project_path);
  if (prefix.size() > static_cast<std::size_t>(kMaxPathBytes)) {
    prefix.resize(kMaxPathBytes);  // the prefix buffer holds 259 bytes
  }
  if (prefix.empty()) {
    return;
  }
  for (StoreSection* section : page_file_sections(store)) {
    for (StoreEntry& entry : section->entries) {
      if (entry.value.starts_with(prefix)) {
        entry.value.erase(0, prefix.size());
      }
    }
  }
}

void make_image_rows_full(DocumentStore& store, std::string_view folder) {
  if (folder.empty()) {
    return;
  }
  for (StoreSection* section : page_file_sections(store)) {
    for (StoreEntry& entry : section->entries) {
      const std::string_view value = entry.value;
      const std::string_view stored_path = value.substr(0, value.find('\t'));
      if (stored_path.empty() || is_absolute_image_path(stored_path) ||
          folder.size() + stored_path.size() > static_cast<std::size_t>(kMaxPathBytes)) {
        continue;
      }
      entry.value.insert(0, folder);
    }
  }
}

}  // namespace piconel
