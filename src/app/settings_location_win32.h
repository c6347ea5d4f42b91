#pragma once

// Where the program lives and its settings file piconel.ini beside it, kept
// as the UTF-16 paths the system gives: they never go into a project, so a
// program folder whose name CP932 cannot write ("C:\Users\José\...") works
// like any other. Windows only: include from *_win32.cpp files only.

#include <optional>
#include <string>

#include "store/document_store.h"

namespace piconel {

struct ProgramLocation {
  // Drive and directory of the executable, ending in its separator.
  std::wstring folder;
  // The folder joined with "piconel.ini".
  std::wstring settings_path;
};

// The running program's location; none when the system cannot give the
// module path.
[[nodiscard]] std::optional<ProgramLocation> locate_program();

// The folder as CP932, for the plug-in search, which works in CP932: its
// exact form, else the exact form of its short (8.3) name, else none.
[[nodiscard]] std::optional<std::string> cp932_folder_for_plugins(const std::wstring& folder);

// Loads the settings file into `settings` as DocumentStore::load with
// `missing_ok` does: a missing file leaves an empty store and succeeds; one
// that cannot be read or does not parse fails (empty store). The store's own
// path stays empty: save_settings_file writes it back.
[[nodiscard]] bool load_settings_file(DocumentStore& settings, const std::wstring& path);

// Writes the whole store to `path` (replacing the file through a temporary
// one). False when it cannot be written.
[[nodiscard]] bool save_settings_file(const DocumentStore& settings, const std::wstring& path);

}  // namespace piconel
