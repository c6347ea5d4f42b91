#include "window/folder_browser_win32.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <optional>

#include "store/wide_text.h"
#include "window/modal_scope_win32.h"
#include "window/name_refusal_win32.h"

namespace piconel {
namespace {

// Preselects the folder whose path (UTF-16) comes as the callback's data
// once the browser has finished its set-up.
int CALLBACK preselect_folder(HWND browser, UINT message, LPARAM, LPARAM data) noexcept {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  }
  return 0;
}

// The item list SHBrowseForFolderW returns, freed through the shell
// allocator.
class ShellItemList {
 public:
  explicit ShellItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ShellItemList() { CoTaskMemFree(list_); }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;
  [[nodiscard]] PIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

}  // namespace

bool browse_for_folder(HWND owner, std::string_view title, std::string_view refusal_caption,
                       std::string& folder) {
  const std::wstring wide_title = to_wide(title);
  // A start folder without a UTF-16 form is not preselected.
  const std::optional<std::wstring> start = to_wide_strict(folder);
  wchar_t display_name[MAX_PATH] = {};

  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.pszDisplayName = display_name;
  request.lpszTitle = wide_title.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS;
  request.lpfn = preselect_folder;
  request.lParam = start && !start->empty() ? reinterpret_cast<LPARAM>(start->c_str()) : 0;

  const ShellItemList chosen = [&] {
    const ModalScope modal(owner);
    return ShellItemList(SHBrowseForFolderW(&request));
  }();
  if (chosen.get() == nullptr) {
    return false;
  }
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) {
    return false;
  }
  CheckedName converted = check_name(path);
  if (converted.check != NameCheck::Ok) {
    refuse_name(owner, refusal_caption, converted.check, path);
    return false;
  }
  folder = std::move(converted.cp932);
  return true;
}

}  // namespace piconel
