#include "dialogs/page_settings_accept.h"

#include <optional>
#include <string>

#include "project/page_list_item.h"
#include "project/page_name.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "store/section_cursor.h"
#include "window/dialog_ids.h"

namespace piconel {

namespace {

// ページ名とラベルは30バイトまでです。
constexpr char kPageTextTooLong[] =
    "\x83y\x81[\x83W\x96\xbc\x82\xc6\x83\x89\x83x\x83\x8b\x82\xcd"
    "30\x83o\x83"
    "C\x83g\x82\xdc\x82\xc5\x82\xc5\x82\xb7\x81"
    "B";

bool fits_page_text(std::string_view text) {
  return text.size() <= static_cast<std::size_t>(kMaxPageNameBytes);
}

}  // namespace

PageAccept accept_page_settings(Project& project, int index, std::string_view name,
                                const DialogControls& controls, const DefaultSettingsGroup& group,
                                Prompter* owner) {
  if (name.empty() || !check_page_name(name, owner)) {
    return PageAccept::StayOpen;
  }
  // The fields take no more than 30 bytes; text put there some other way is
  // refused whole rather than cut.
  const std::string label = controls.text(IDC_PAGE_LABEL);
  if (!fits_page_text(name) || !fits_page_text(label)) {
    if (owner != nullptr) {
      static_cast<void>(owner->message_box(kPageTextTooLong, project_texts::kRenamePageCaption,
                                           kMbOk | kMbIconError));
    }
    return PageAccept::StayOpen;
  }
  const std::optional<std::string> present = page_name_at(project, index);
  if (project.store && present) {
    SectionCursor page(*project.store, page_property_section(*present), nullptr);
    static_cast<void>(page.set_string(kPageLabelKey, label));
    static_cast<void>(group.save(controls, page));
    if (name != *present && rename_page(project, index, name)) {
      refresh_page_item(project, index);
    }
  }
  mark_modified(project);
  return PageAccept::Close;
}

}  // namespace piconel
