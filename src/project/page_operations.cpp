#include "project/page_operations.h"

#include <string>

#include "project/current_page.h"
#include "project/page_list_item.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/bounded_format.h"
#include "store/cp932.h"

namespace piconel {

namespace {

constexpr std::size_t kMessageBytes = 256;

bool page_list_holds(Project& project, std::string_view name) {
  const StoreSection* pages = project.store->find_section(kPageListSection);
  if (pages == nullptr) {
    return false;
  }
  for (const StoreEntry& entry : pages->entries()) {
    if (entry.value() == name) {
      return true;
    }
  }
  return false;
}

// Moves page `index` to `target` (a neighbour). False when nothing moved.
bool swap_with_neighbour(Project& project, int index, int target) {
  const auto name = page_name_at(project, index);
  if (!name || target < 0 || target >= project.page_count) {
    return false;
  }
  DocumentStore& store = *project.store;
  if (!store.delete_entry_at(kPageListSection, index)) {
    return false;
  }
  (void)store.insert_row(kPageListSection, target, *name);
  project.ports.page_list->move_item(index, target);
  if (project.current_page == index) {
    project.current_page = target;
  } else if (project.current_page == target) {
    project.current_page = index;
  }
  return true;
}

void move_page(Project& project, int index, int step) {
  if (index == -1) {
    index = project.ports.page_list->focused_item();
    if (index < 0) {
      return;
    }
  }
  if (project.store) {
    (void)swap_with_neighbour(project, index, index + step);
  }
  mark_modified(project);
}

}  // namespace

bool new_page(Project& project, int position) {
  if (!project.store || project.page_count >= kMaxPages) {
    return false;
  }
  // The lowest free number; at most page_count names are taken, so one of
  // the first page_count + 1 numbers is free.
  std::string name;
  for (int number = 0; number <= project.page_count; ++number) {
    (void)bounded_format_string(name, 32, "page%03d", number);
    if (!page_list_holds(project, name)) {
      break;
    }
  }
  if (position < 0 || position > project.page_count) {
    position = -1;
  }
  DocumentStore& store = *project.store;
  if (!store.insert_row(kPageListSection, position, name)) {
    return false;
  }
  ++project.page_count;
  (void)store.set_string(page_property_section(name), kPageLabelKey,
                         to_upper_keeping_double_bytes(name));

  PageListView& list = *project.ports.page_list;
  if (list.is_open()) {
    const int index = position < 0 ? project.page_count - 1 : position;
    list.insert_item(position, name);
    refresh_page_item(project, index);
  }
  return true;
}

bool new_page_command(Project& project, int clicked_index) {
  (void)sync_current_page(project);
  const int position =
      clicked_index >= 0 && clicked_index < project.page_count ? clicked_index : -1;
  if (!new_page(project, position)) {
    return false;
  }
  project.current_page = position < 0 ? project.page_count - 1 : position;
  load_current_page(project);
  project.ports.page_list->select_item(project.current_page);
  mark_modified(project);
  return true;
}

PageRename try_rename_page(Project& project, int index, std::string_view new_name) {
  if (!project.store) {
    return PageRename::Unchanged;
  }
  if (index == -1) {
    index = project.current_page;
  }
  const auto old_name = page_name_at(project, index);
  if (!old_name || *old_name == new_name) {
    return PageRename::Unchanged;
  }
  if (new_name.empty() || new_name.size() > static_cast<std::size_t>(kMaxPageNameBytes)) {
    return PageRename::NameNotAllowed;
  }
  if (page_list_holds(project, new_name)) {
    return PageRename::NameTaken;
  }
  DocumentStore& store = *project.store;
  (void)store.rename_section(page_file_section(*old_name), page_file_section(new_name));
  (void)store.rename_section(page_property_section(*old_name), page_property_section(new_name));
  (void)store.delete_entry_at(kPageListSection, index);
  (void)store.insert_row(kPageListSection, index, new_name);
  return PageRename::Renamed;
}

bool rename_page(Project& project, int index, std::string_view new_name) {
  const PageRename result = try_rename_page(project, index, new_name);
  return result == PageRename::Renamed || result == PageRename::Unchanged;
}

bool delete_page(Project& project, int index, Prompter& owner) {
  const auto name = page_name_at(project, index);
  if (!name) {
    return false;
  }
  std::string question;
  (void)bounded_format_string(question, kMessageBytes, project_texts::kDeletePageFormat,
                              name->c_str());
  if (owner.message_box(question, project_texts::kDeletePageCaption,
                        kMbYesNo | kMbIconExclamation) != kIdYes) {
    return false;
  }
  DocumentStore& store = *project.store;
  if (!store.delete_entry_at(kPageListSection, index)) {
    return false;
  }
  (void)store.delete_section(page_file_section(*name));
  (void)store.delete_section(page_property_section(*name));
  --project.page_count;

  project.ports.page_list->remove_item(index);
  if (index < project.current_page) {
    --project.current_page;
  } else if (index == project.current_page) {
    if (index >= project.page_count) {
      project.current_page = project.page_count - 1;  // -1 when none is left
    }
    load_current_page(project);
  }
  if (project.current_page >= 0) {
    project.ports.page_list->select_item(project.current_page);
  }
  mark_modified(project);
  return true;
}

void fill_page_list(Project& project) {
  PageListView& list = *project.ports.page_list;
  if (!list.is_open()) {
    return;
  }
  list.begin_fill();
  list.remove_all_items();
  for (int index = 0; index < project.page_count; ++index) {
    const auto name = page_name_at(project, index);
    list.insert_item(index, name.value_or(""));
    refresh_page_item(project, index);
  }
  list.end_fill();
  list.select_item(project.current_page);
}

void move_page_down(Project& project, int index) {
  move_page(project, index, +1);
}

void move_page_up(Project& project, int index) {
  move_page(project, index, -1);
}

void select_page(Project& project, int index) {
  if (index == -1) {
    index = project.ports.page_list->focused_item();
    if (index < 0) {
      return;
    }
  }
  if (index == project.current_page || index < 0 || index >= project.page_count) {
    return;
  }
  (void)sync_current_page(project);
  project.current_page = index;
  project.ports.page_list->select_item(index);
  load_current_page(project);
}

}  // namespace piconel
