#pragma once

// Opening, saving and naming the project file (*.ijp), the question about
// unsaved changes, and the main window's title.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "project/project.h"

namespace piconel {

// The type list of the project dialogs: "ピコネルプロジェクトファイル (*.ijp)"
// with "*.ijp", then "すべてのファイル (*.*)" with "*.*".
std::span<const FileFilter> project_file_filters();

// The default extension a file dialog derives from its initial name: the
// text after the last '.' (the second byte of a double-byte character is
// never taken for one), at most 15 bytes; empty when there is no dot.
[[nodiscard]] std::string file_dialog_default_extension(std::string_view initial_name);

// Asked by open_project once the file has loaded (or for a new project),
// just before the open project is replaced; false keeps it. The window asks
// about unsaved changes here, so a file that fails to load never asks.
using ReplaceCheck = std::function<bool()>;

// Opens a project. `path`: none asks with the open dialog (cancel changes
// nothing); empty text starts a new untitled project; otherwise the file.
// The file is loaded into a new store first; only when it loads and
// `may_replace` (if given) agrees does it replace the open project.
//  - A file that does not load shows "プロジェクトの読込に失敗しました。\r\n(line:%d)";
//    a file without the project identification shows
//    "プロジェクトの読込に失敗しました。". Either way an open project stays exactly
//    as it was (path, store, pages, entries, modified flag, title). With no
//    project open yet (start-up, the command line) the project goes on
//    untitled: with an empty store after a load failure, holding what was
//    read after a wrong identification.
// The identification is then written, the current page restored from
// CURRENTPAGE, and a project without pages gets page000. A CURRENTPAGE
// outside 0 .. page count - 1 (possible only from an edited file) reads as
// 0. Page names are taken as read: a name longer than 30 bytes is kept (all
// texts built from it are unbounded strings), and two rows with the same name
// share that name's sections. The page list is rebuilt, the current page
// loaded, and the project ends unmodified. The window and the command line
// open projects through here alike; the result says which way it went (the
// window needs no more than the messages already shown).
enum class OpenResult {
  Opened,
  NewProject,  // empty path
  Cancelled,   // the open dialog was cancelled or `may_replace` said no; nothing changed
  LoadFailed,  // reported; nothing changed, or untitled with an empty store
  WrongFile,   // reported; nothing changed, or untitled holding what was read
};
OpenResult open_project(Project& project, std::optional<std::string_view> path,
                        const ReplaceCheck& may_replace = {});

enum class SaveResult {
  Saved,
  Cancelled,  // the save dialog was cancelled; nothing changed
  Refused,    // a row could not be written into the new file; reported
  Failed,     // the file could not be written; reported, still modified
  NoStore,
};

// Saves the project. `path`: none saves under the project path (asking, as
// for Save As, when the project is untitled); empty text always asks; else
// the given path. Stores CURRENTPAGE; in relative path mode (the settings'
// PROJ_RELATIVEPATH begins with '1') image rows under the project file's
// folder lose that prefix (case matters). Saving to another folder (compared
// as Windows does: ASCII letters in either case, double-byte characters
// exactly) first makes every relative row full against the old project
// folder, and the project folder then follows the file, so every row stays
// valid in the new file. When a row cannot stay valid there (its full path
// would hold '=' or exceed 259 bytes, so the store could not read it back),
// the save is refused with "この画像のパスは保存先の...\n<path>" (caption
// "ピコネル：プロジェクトの保存", exclamation icon) and nothing changes. A
// write that fails shows "プロジェクトの保存に失敗しました。" (same caption,
// error icon); the session stays exactly as before the save (path, folder,
// store path, title, rows, modified flag) and the previous file intact. The
// caller synchronises the current page first.
SaveResult save_project(Project& project, std::optional<std::string_view> path);

// Asks "プロジェクトが変更されています。\r\n保存しますか？" (Yes, No, Cancel) when the
// project is modified. Cancel gives false. Yes synchronises and saves; the
// result is true, also when the save dialog is then cancelled, but false
// when the save was refused or the write failed (the caller should not throw
// the changes away). No gives true.
[[nodiscard]] bool ask_save_changes(Project& project);

// Sets the modified flag; the title gains " *" when the flag was clear.
void mark_modified(Project& project);

// "ピコネル - [%s%s]" with the project file's name without folder and
// extension (or "(新規)") and " *" when modified, at most 255 bytes; set on the
// main window and returned.
std::string update_title(Project& project);

// Shut-down: the store is cleared and freed, the entries dropped.
void release_project(Project& project);

// Relative path mode's rewrite: every entry of the FILELIST sections of the
// pages whose value begins with the folder of `project_path` (case matters)
// loses that prefix, in place. Each section is rewritten once, also when two
// pages share a name.
void make_image_rows_relative(DocumentStore& store, std::string_view project_path);

// Every row whose path is relative gets `folder` in front, unless the full
// row would not read back (full_image_row: too long, or holding '='); such a
// row is left as it is and the result is false. Nothing for an empty folder.
bool make_image_rows_full(DocumentStore& store, std::string_view folder);

}  // namespace piconel
