#pragma once

// The Prompter of the program's windows: message boxes centred over their
// owner and the common open and save dialogs. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/project_ports.h"

namespace piconel {

// The type list of a file dialog as the W functions take it: description and
// pattern of each filter (CP932, converted with code page 932), each followed
// by a zero, and one more zero at the end.
[[nodiscard]] std::wstring file_dialog_filter(std::span<const FileFilter> filters);

// The names a multi-select open dialog wrote into its buffer: one full path,
// or the folder followed by the file names, each ending in a zero and the
// list in one more. Full paths in the dialog's order; empty for an empty
// buffer.
[[nodiscard]] std::vector<std::wstring> selected_file_paths(std::wstring_view buffer);

class WindowPrompter final : public Prompter {
 public:
  // A null owner gives ownerless boxes and dialogs (start-up, before the main
  // window exists).
  explicit WindowPrompter(HWND owner = nullptr) : owner_(owner) {}

  void set_owner(HWND owner) { owner_ = owner; }
  [[nodiscard]] HWND owner() const { return owner_; }

  // centred_message_box; a box that could not be shown answers kIdCancel.
  int message_box(std::string_view text, std::string_view caption, unsigned type) override;

  // GetOpenFileNameW / GetSaveFileNameW with a 260-character name buffer.
  // The chosen name comes back as CP932. A name without an exact CP932 form,
  // or longer than 259 bytes in CP932, is refused with a message and the
  // dialog is shown again; only cancel gives false.
  bool ask_file_name(std::string_view caption, std::string& file_name,
                     std::span<const FileFilter> filters, bool save_mode) override;

  // GetOpenFileNameW allowing several files (explorer style). The names come
  // back in the dialog's order; one the program cannot hold is not refused
  // here but carries its problem (the adding names it with the others).
  bool ask_file_names(std::string_view caption, std::span<const FileFilter> filters,
                      std::vector<ChosenFile>& files) override;

 private:
  HWND owner_;
};

}  // namespace piconel
