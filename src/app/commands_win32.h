#pragma once

// The main window's commands: one small function per command id (menu
// items, toolbar buttons and accelerator keys share the ids of resource.h),
// looked up in one table. Windows only: include from *_win32.cpp files only.

#include <span>

#include "app/app_win32.h"

namespace piconel {

struct Command {
  unsigned id;
  void (*run)(App& app);
};

// Every command that does something; ids not listed reach no handler.
[[nodiscard]] std::span<const Command> command_table();

// Runs the command with `id`; false when the table has none.
bool run_command(App& app, unsigned id);

}  // namespace piconel
