#pragma once

// The main window's commands: one small function per command id (menu
// items, toolbar buttons and accelerator keys share the ids of resource.h),
// looked up in one table that also answers whether each is checked and
// enabled; the menus and the toolbar show those answers. Windows only:
// include from *_win32.cpp files only.

#include <span>

#include "app/app_win32.h"
#include "app/command_message_win32.h"

namespace piconel {

struct Command {
  unsigned id;
  // Gets the whole message: a control's command needs its notification code
  // (the zoom box acts on CBN_SELCHANGE only) and its window.
  void (*run)(App& app, const CommandMessage& message);
  // Asked whenever a menu opens and after every command; none means never
  // checked, always enabled.
  bool (*checked)(const App& app) = nullptr;
  bool (*enabled)(const App& app) = nullptr;
};

// Every command that does something; ids not listed reach no handler.
[[nodiscard]] std::span<const Command> command_table();

// Runs the command with `message.id`; false when the table has none.
// Afterwards the toolbar shows the table's answers again (a check button
// toggles itself when clicked, whatever the command then does).
bool run_command(App& app, const CommandMessage& message);

// The items of `popup` (a menu about to open) and the toolbar buttons whose
// commands are in the table are checked and enabled as the table answers.
void show_menu_states(const App& app, HMENU popup);
void show_toolbar_states(const App& app);

// The image settings of `entry`, owned by `owner` (the main window for a
// double-click on the sheet, the image list for one on its row), under the
// dialog guard; afterwards, OK or not, the page properties are applied again
// and the page list rows refreshed in place. Nothing while another dialog
// is open.
void open_image_settings(App& app, const ImageEntry& entry, HWND owner);

}  // namespace piconel
