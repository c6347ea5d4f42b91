#pragma once

// The main window's commands: one small function per command id (menu
// items, toolbar buttons and accelerator keys share the ids of resource.h),
// looked up in one table. Windows only: include from *_win32.cpp files only.

#include <span>

#include "app/app_win32.h"
#include "app/command_message_win32.h"

namespace piconel {

struct Command {
  unsigned id;
  // Gets the whole message: a control's command needs its notification code
  // (the zoom box acts on CBN_SELCHANGE only) and its window.
  void (*run)(App& app, const CommandMessage& message);
};

// Every command that does something; ids not listed reach no handler.
[[nodiscard]] std::span<const Command> command_table();

// Runs the command with `message.id`; false when the table has none.
bool run_command(App& app, const CommandMessage& message);

// The image settings of `entry`, owned by `owner` (the main window for a
// double-click on the sheet, the image list for one on its row), under the
// dialog guard; afterwards, OK or not, the page properties are applied again
// and the page list rows refreshed in place. Nothing while another dialog
// is open.
void open_image_settings(App& app, const ImageEntry& entry, HWND owner);

}  // namespace piconel
