#include "dialogs/page_settings_accept.h"

#include <optional>
#include <string>

#include "dialogs/dialog_ids.h"
#include "project/page_list_item.h"
#include "project/page_name.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "store/section_cursor.h"

namespace piconel {

PageAccept accept_page_settings(Project& project, int index, std::string_view name,
                                const DialogControls& controls, const DefaultSettingsGroup& group,
                                Prompter* owner) {
  if (name.empty() || !check_page_name(name, owner)) {
    return PageAccept::StayOpen;
  }
  const std::optional<std::string> present = page_name_at(project, index);
  if (project.store && present) {
    SectionCursor page(*project.store, page_property_section(*present), nullptr);
    static_cast<void>(page.set_string(
        kPageLabelKey,
        control_text_up_to(controls, IDC_PAGE_LABEL, static_cast<std::size_t>(kMaxPageNameBytes))));
    static_cast<void>(group.save(controls, page));
    if (name != *present && rename_page(project, index, name)) {
      refresh_page_item(project, index);
    }
  }
  mark_modified(project);
  return PageAccept::Close;
}

}  // namespace piconel
