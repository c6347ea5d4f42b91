#include "app/page_rename_edit.h"

#include "project/page_list_item.h"
#include "project/page_name.h"
#include "project/page_operations.h"
#include "project/project_file.h"

namespace piconel {

PageNameEdit finish_page_name_edit(Project& project, int index, std::string_view new_name,
                                   Prompter& owner) {
  if (!check_page_name(new_name, &owner) ||
      new_name.size() > static_cast<std::size_t>(kMaxPageNameBytes)) {
    return PageNameEdit::Refused;
  }
  const PageRename result = try_rename_page(project, index, new_name);
  if (result == PageRename::Renamed) {
    refresh_page_item(project, index);
  }
  mark_modified(project);
  return result == PageRename::Renamed || result == PageRename::Unchanged ? PageNameEdit::Accepted
                                                                          : PageNameEdit::Refused;
}

}  // namespace piconel
