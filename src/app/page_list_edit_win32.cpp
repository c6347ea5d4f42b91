// Renaming a page in place in the page list: F2 starts the edit of the
// focused row, the edit field keeps the name within 30 bytes, and the end of
// the edit renames the page or refuses the new text. While the edit runs the
// accelerators are off, so the keys reach the field.

#include <string>

#include "app/page_list_window_win32.h"
#include "app/page_rename_edit.h"
#include "project/project_texts.h"
#include "window/edit_byte_limit_win32.h"
#include "window/name_refusal_win32.h"
#include "window/prompter_win32.h"

namespace piconel {

void PageListWindow::start_rename() {
  if (list_ == nullptr || app_.project.page_count <= 0 || !app_.project.store) {
    return;
  }
  const int row = focused_item();
  if (row < 0) {
    return;
  }
  SetFocus(list_);
  SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(row), 0);
}

BOOL PageListWindow::begin_edit(const NMLVDISPINFOW&) {
  if (app_.dialog_guard != -1) {
    return TRUE;  // refused while a property dialog is open
  }
  if (const HWND field = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0))) {
    SendMessageW(field, EM_LIMITTEXT, kMaxPageNameBytes, 0);
    static_cast<void>(limit_edit_bytes(field, kMaxPageNameBytes));
  }
  app_.accelerators.name_edit_active = true;
  return FALSE;
}

BOOL PageListWindow::end_edit(const NMLVDISPINFOW& edit) {
  app_.accelerators.name_edit_active = false;
  if (edit.item.pszText == nullptr || edit.item.iItem < 0) {
    return FALSE;  // cancelled
  }
  const std::wstring_view text(edit.item.pszText);
  // The field keeps the name within 30 bytes; what is left to refuse here
  // is text without a CP932 form. The length is checked with the name.
  const CheckedName name = check_name(text);
  if (name.check != NameCheck::Ok) {
    refuse_name(list_, project_texts::kRenamePageCaption, name.check, text);
    return FALSE;
  }
  WindowPrompter owner(list_);
  return finish_page_name_edit(app_.project, edit.item.iItem, name.cp932, owner) ==
                 PageNameEdit::Accepted
             ? TRUE
             : FALSE;
}

}  // namespace piconel
