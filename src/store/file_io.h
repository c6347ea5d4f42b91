#pragma once

// The file-system boundary. Paths are CP932 byte strings with Windows
// separators everywhere in the program; here they become native names:
// UTF-16 through code page 932 on Windows; on Linux backslashes become
// slashes, a leading "Z:" maps to the root as Wine does, and the name is
// converted to UTF-8.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace piconel {

enum class ReadStatus { Ok, NotFound, CannotOpen, ReadError, TooLarge, NoMemory };

struct FileBytes {
  ReadStatus status = ReadStatus::CannotOpen;
  std::vector<std::uint8_t> bytes;
};

// Whole file into memory; `bytes` is filled only with status Ok.
// NotFound: the file, or a folder on its path, does not exist (the only
// failure a caller may take for "no such file yet"). CannotOpen: it exists
// but cannot be opened (access denied, locked by another program, a folder),
// or the path is empty or unconvertible.
// TooLarge: more than `max_bytes` (nothing kept, no buffer of that size
// allocated; at most a small first part is read). ReadError: the size or
// the contents could not be read. NoMemory: no memory for the contents.
[[nodiscard]] FileBytes read_whole_file(std::string_view path,
                                        std::uint64_t max_bytes = std::uint64_t{1} << 31);

// Whether a replaced file is forced onto the disk before it takes the
// target's place. User data (project and settings files) is: a crash or
// power loss must leave the old file or the new one, never an empty one.
// Output files (page bitmaps and tables) are made again by the next output
// run, so they only keep the temporary-file-and-rename step (a reader never
// sees half a file, a failed write keeps the old one) and leave the writing
// back to the system; flushing each of them cost most of an output run.
enum class Durability { Synced, Unsynced };

// Replaces `path` whole: writes a temporary file in the same folder and
// renames it over the target. On failure the old file stays as it was.
[[nodiscard]] bool write_file_replacing(std::string_view path, std::span<const std::uint8_t> bytes,
                                        Durability durability = Durability::Synced);
// The same with the file's bytes given in parts, written one after the other
// (headers and a large pixel buffer need not be joined in memory first).
[[nodiscard]] bool write_file_replacing_parts(std::string_view path,
                                              std::span<const std::span<const std::uint8_t>> parts,
                                              Durability durability = Durability::Synced);

[[nodiscard]] bool is_directory(std::string_view path);
[[nodiscard]] bool file_exists(std::string_view path);
// Creates the folder and its missing parents.
[[nodiscard]] bool make_directories(std::string_view path);

// One name of a folder listing.
struct FolderItem {
  std::string name;  // CP932, without the folder
  bool is_folder = false;
};

struct FolderListing {
  bool ok = false;  // false: the folder could not be read (nothing listed)
  // Every entry but "." and "..", in the order the system gives them.
  std::vector<FolderItem> items;
  // Names without a CP932 form (left out: no project row could name them).
  int unnamed = 0;
};

// The entries of `folder` (not of its subfolders).
[[nodiscard]] FolderListing list_folder(std::string_view folder);

// The native form of a CP932 path (see above); exposed for tests and the CLI.
// Windows returns the path unchanged; Linux gives empty when it has no
// native form.
[[nodiscard]] std::string native_path_for_display(std::string_view path);

}  // namespace piconel
