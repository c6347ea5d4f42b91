#include "window/prompter_win32.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>

#include "project/project_file.h"
#include "store/wide_text.h"
#include "window/message_box_win32.h"
#include "window/modal_scope_win32.h"
#include "window/name_refusal_win32.h"

namespace piconel {

static_assert(kMbOk == MB_OK && kMbOkCancel == MB_OKCANCEL && kMbYesNoCancel == MB_YESNOCANCEL &&
              kMbYesNo == MB_YESNO);
static_assert(kMbIconError == MB_ICONERROR && kMbIconQuestion == MB_ICONQUESTION &&
              kMbIconExclamation == MB_ICONEXCLAMATION && kMbIconInformation == MB_ICONINFORMATION);
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kIdYes == IDYES && kIdNo == IDNO);

namespace {

// The name buffer: 259 characters and the terminator; the CP932 form must
// fit the same 260 bytes.
constexpr std::size_t kFileNameChars = MAX_PATH;
constexpr std::size_t kMaxFileNameBytes = kMaxNameBytes;

// Shows the dialog once; the buffer holds the initial name and receives the
// chosen one.
bool show_file_dialog(OPENFILENAMEW& request, bool save_mode) {
  const ModalScope modal(request.hwndOwner);
  return (save_mode ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request)) != FALSE;
}

// Room for many names at once; the system asks for more only beyond it.
constexpr std::size_t kMultiSelectChars = 65536;

}  // namespace

std::vector<std::wstring> selected_file_paths(std::wstring_view buffer) {
  std::vector<std::wstring> texts;
  std::size_t position = 0;
  while (position < buffer.size() && buffer[position] != L'\0') {
    const std::size_t end = std::min(buffer.find(L'\0', position), buffer.size());
    texts.emplace_back(buffer.substr(position, end - position));
    position = end + 1;
  }
  if (texts.size() <= 1) {
    return texts;
  }
  std::wstring folder = texts.front();
  if (folder.back() != L'\\') {
    folder.push_back(L'\\');
  }
  std::vector<std::wstring> paths;
  for (std::size_t i = 1; i < texts.size(); ++i) {
    paths.push_back(folder + texts[i]);
  }
  return paths;
}

std::wstring file_dialog_filter(std::span<const FileFilter> filters) {
  std::wstring filter;
  for (const FileFilter& item : filters) {
    filter += to_wide(item.description);
    filter.push_back(L'\0');
    filter += to_wide(item.pattern);
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  return filter;
}

int WindowPrompter::message_box(std::string_view text, std::string_view caption, unsigned type) {
  const int answer = centred_message_box(owner_, text, caption, type);
  return answer == 0 ? kIdCancel : answer;
}

bool WindowPrompter::ask_file_name(std::string_view caption, std::string& file_name,
                                   std::span<const FileFilter> filters, bool save_mode) {
  const std::wstring filter = file_dialog_filter(filters);
  const std::wstring wide_caption = to_wide(caption);
  const std::wstring extension = to_wide(file_dialog_default_extension(file_name));

  wchar_t buffer[kFileNameChars] = {};
  const std::wstring initial = to_wide(file_name);
  initial.copy(buffer, kFileNameChars - 1);

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner_;
  request.hInstance = owner_ != nullptr
                          ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE))
                          : GetModuleHandleW(nullptr);
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = buffer;
  request.nMaxFile = static_cast<DWORD>(kFileNameChars);
  request.lpstrTitle = wide_caption.c_str();
  request.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (save_mode ? 0 : OFN_FILEMUSTEXIST);
  // Without a dot in the initial name nothing is appended.
  request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();

  for (;;) {
    bool chosen = show_file_dialog(request, save_mode);
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
      // The initial name was rejected before the dialog appeared: once more
      // with an empty name.
      buffer[0] = L'\0';
      chosen = show_file_dialog(request, save_mode);
    }
    if (!chosen) {
      return false;
    }
    CheckedName name = check_name(buffer, kMaxFileNameBytes);
    if (name.check == NameCheck::Ok) {
      file_name = std::move(name.cp932);
      return true;
    }
    // Answering as if cancelled would let New, Open or Close go on after a
    // Yes to the save question and discard the work: say why, and ask again
    // with the refused name in the field to be corrected.
    refuse_name(owner_, caption, name.check, buffer);
  }
}

}  // namespace piconel

namespace piconel {

bool WindowPrompter::ask_file_names(std::string_view caption, std::span<const FileFilter> filters,
                                    std::vector<ChosenFile>& files) {
  files.clear();
  const std::wstring filter = file_dialog_filter(filters);
  const std::wstring wide_caption = to_wide(caption);
  std::vector<wchar_t> buffer(kMultiSelectChars, L'\0');

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner_;
  request.hInstance = owner_ != nullptr
                          ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE))
                          : GetModuleHandleW(nullptr);
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = buffer.data();
  request.nMaxFile = static_cast<DWORD>(buffer.size());
  request.lpstrTitle = wide_caption.c_str();
  request.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  if (!show_file_dialog(request, false)) {
    return false;
  }
  for (const std::wstring& path :
       selected_file_paths(std::wstring_view(buffer.data(), buffer.size()))) {
    files.push_back(chosen_file(path));
  }
  return !files.empty();
}

}  // namespace piconel
