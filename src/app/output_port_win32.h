#pragma once

// The output run's port in the program: the shell's folder browser and the
// page error box, both over the main window. Windows only: include from
// *_win32.cpp files only.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "app/output_progress.h"
#include "output/output_run.h"
#include "project/project_ports.h"

namespace piconel {

// `folder` as the status bar names it after a run: its full path (the
// current directory for an empty one), CP932.
[[nodiscard]] std::string full_folder_path(std::string_view folder);

class WindowOutputPort final : public OutputRunPort {
 public:
  // `prompter` shows the error boxes (the main window's, centred over it);
  // `show_progress` (when given) puts the progress text where the user sees
  // it (the status bar).
  WindowOutputPort(HWND owner, Prompter& prompter,
                   std::function<void(std::string_view)> show_progress = {})
      : owner_(owner), prompter_(prompter), show_progress_(std::move(show_progress)) {}

  // browse_for_folder titled "出力ディレクトリ".
  bool choose_output_folder(std::string& folder) override;
  // An OK box with the error icon.
  void show_error(std::string_view text, std::string_view caption) override;
  // "出力中: N / Mページ" from the first page on, at most every 100 ms, and
  // the windows waiting to be painted are painted. Only painting: input
  // waits in the queue until the run has ended, so no command or gesture
  // runs in the middle of it.
  void page_finished(int pages_done, int page_count) override;

 private:
  HWND owner_;
  Prompter& prompter_;
  std::function<void(std::string_view)> show_progress_;
  OutputProgress progress_;
};

}  // namespace piconel
