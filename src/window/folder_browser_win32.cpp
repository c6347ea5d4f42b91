#include "window/folder_browser_win32.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <optional>
#include <string_view>

#include "store/wide_text.h"
#include "window/modal_scope_win32.h"
#include "window/name_refusal_win32.h"

namespace piconel {
namespace {

// The start folder (UTF-16, none for no preselection) and whether the
// browser's selection has reached it.
struct Preselection {
  const wchar_t* folder = nullptr;
  bool reached = false;
};

// Whether `path` names `folder`, whatever the case and a closing backslash.
bool same_folder(std::wstring_view path, std::wstring_view folder) {
  const auto trimmed = [](std::wstring_view name) {
    // "C:\" keeps its backslash: without it the name is another folder.
    while (name.size() > 3 && name.back() == L'\\') {
      name.remove_suffix(1);
    }
    return name;
  };
  path = trimmed(path);
  folder = trimmed(folder);
  return CompareStringOrdinal(path.data(), static_cast<int>(path.size()), folder.data(),
                              static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// Follows the selection and preselects the start folder once the browser has
// finished its set-up.
int CALLBACK preselect_folder(HWND browser, UINT message, LPARAM param, LPARAM data) noexcept {
  auto* preselection = reinterpret_cast<Preselection*>(data);
  if (message == BFFM_SELCHANGED && preselection->folder != nullptr) {
    wchar_t path[MAX_PATH] = {};
    const auto* selected = reinterpret_cast<PCIDLIST_ABSOLUTE>(param);
    preselection->reached = selected != nullptr && SHGetPathFromIDListW(selected, path) &&
                            same_folder(path, preselection->folder);
  } else if (message == BFFM_INITIALIZED && preselection->folder != nullptr) {
    // Wine matches the start folder's parsed path against the tree's items
    // byte for byte, access times included, and its own reading of a folder
    // just written to refreshes that folder's access time on the way; the
    // first try then stops short and selects nothing. A second parse sees the
    // times the tree holds. Elsewhere the first try is enough.
    for (int attempt = 0; attempt < 2 && !preselection->reached; ++attempt) {
      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE,
                   reinterpret_cast<LPARAM>(preselection->folder));
    }
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
  Preselection preselection;
  if (start && !start->empty()) {
    preselection.folder = start->c_str();
  }
  request.lpfn = preselect_folder;
  request.lParam = reinterpret_cast<LPARAM>(&preselection);

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
