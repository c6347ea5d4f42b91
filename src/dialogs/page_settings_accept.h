#pragma once

// What OK of the page settings dialog does: check the typed name, store the
// label and the default-settings group under the page's present name, then
// rename the page.

#include <string_view>

#include "dialogs/default_settings_group.h"
#include "dialogs/dialog_controls.h"
#include "project/project.h"

namespace piconel {

enum class PageAccept {
  StayOpen,  // empty or refused name: nothing stored
  Close,     // stored (and renamed unless another page has the name)
};

// `index` names the edited page (its PAGELIST row). An empty name keeps the
// dialog open without a word; a name that breaks the page name rule gets its
// message through `owner` ("使用できない文字が含まれています。\r\n(%d文字目)").
// A name or label (IDC_PAGE_LABEL) longer than 30 bytes is never cut: it
// keeps the dialog open with "ページ名とラベルは30バイトまでです。".
// Otherwise the label becomes PAGELABEL
// and the group is saved into "PROPERTY:<present name>"; then the page is
// renamed, its page list row rebuilt when the name changed, and the project
// marked modified. A name another page holds is refused silently: the page
// keeps its name and the rest stays stored.
[[nodiscard]] PageAccept accept_page_settings(Project& project, int index, std::string_view name,
                                              const DialogControls& controls,
                                              const DefaultSettingsGroup& group, Prompter* owner);

}  // namespace piconel
