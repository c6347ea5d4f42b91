#pragma once

// The output run's port in the program: the shell's folder browser and the
// page error box, both over the main window. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <string>
#include <string_view>

#include "output/output_run.h"
#include "project/project_ports.h"

namespace piconel {

// `folder` as the status bar names it after a run: its full path (the
// current directory for an empty one), CP932.
[[nodiscard]] std::string full_folder_path(std::string_view folder);

class WindowOutputPort final : public OutputRunPort {
 public:
  // `prompter` shows the error boxes (the main window's, centred over it).
  WindowOutputPort(HWND owner, Prompter& prompter) : owner_(owner), prompter_(prompter) {}

  // browse_for_folder titled "出力ディレクトリ".
  bool choose_output_folder(std::string& folder) override;
  // An OK box with the error icon.
  void show_error(std::string_view text, std::string_view caption) override;

 private:
  HWND owner_;
  Prompter& prompter_;
};

}  // namespace piconel
