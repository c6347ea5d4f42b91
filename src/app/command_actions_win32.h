#pragma once

// The work behind the main window's commands that is more than one call,
// shared by the command table, dropped files and tests. Windows only:
// include from *_win32.cpp files only.

#include <windows.h>

#include <shellapi.h>

#include <span>
#include <string>
#include <vector>

#include "app/add_images.h"
#include "app/app_win32.h"

namespace piconel {

// Adds `files` (in order, one placement cursor carried from file to file
// when `carry_cursor`) with updates of the view locked, through the page
// model. Then the extent is updated (forced) and the project
// marked modified, also when nothing could be added, and one message names
// every file not added (`not_added` brings those refused before, such as a
// dropped folder without images). Returns the number added.
int add_images(App& app, std::span<const ChosenFile> files, bool carry_cursor,
               std::vector<NotAddedFile> not_added = {});

// The files of a drop in the order the shell gives them, a dropped folder
// giving the image files directly inside it in name order; each name is
// read at its full length, and one the program cannot hold (too long, no
// exact CP932 form) is named in the message. The drop is released.
int add_dropped_files(App& app, HDROP drop);

// The "画像を追加" command: the open dialog with image files first, all
// files, and the plug-ins' types, allowing several files; they are added in
// the dialog's order with one cursor, as a drop is. Choosing nothing
// changes nothing.
void add_image_through_dialog(App& app);

// Opens the list window when it is closed, or asks it to close when it is
// open.
void toggle_list_window(App& app, ListWindowKind kind);

// Start-up, after the keys were read: opens each list window whose Enable
// flag was set.
void restore_list_windows(App& app);

// Zoom in / out by one step of the zoom box; nothing at the ends.
void zoom_in(App& app);
void zoom_out(App& app);

// Delete: the selected entries go (the project is marked modified also when
// none was selected), the colours are rebuilt and the extent updated.
void delete_selected_images(App& app);

// The help file "piconel.txt" in the program folder handed to the shell.
void open_help_file(App& app);

// The About box (template 116) over the main window.
void show_about_box(App& app);

// The dialog guard set to a value for as long as it lives and back to -1 after,
// also when the dialog's body is left by an exception (an allocation failure
// stopped at the window procedure's boundary), so it can never stay set.
class DialogGuardScope {
 public:
  DialogGuardScope(int& guard, int value) noexcept : guard_(guard) { guard_ = value; }
  ~DialogGuardScope() { guard_ = -1; }
  DialogGuardScope(const DialogGuardScope&) = delete;
  DialogGuardScope& operator=(const DialogGuardScope&) = delete;

 private:
  int& guard_;
};

// Runs `dialog` under the dialog guard (set to `guard_value` while it runs);
// nothing when another property dialog is open.
template <typename Dialog>
void run_guarded(App& app, int guard_value, Dialog&& dialog) {
  if (app.dialog_guard != -1) {
    return;
  }
  const DialogGuardScope guard(app.dialog_guard, guard_value);
  dialog();
}

}  // namespace piconel
