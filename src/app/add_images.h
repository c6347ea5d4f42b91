#pragma once

// Adding image files to the current page, from the open dialog or dropped
// on the window: the type list of the dialog, the image files of a dropped
// folder, the loop over the files with the placement cursor carried from
// file to file, and the one message naming the files that were not added.

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/open_image_entry.h"
#include "project/project_ports.h"

namespace piconel {

// The file types of the "画像を追加" dialog, built in one 1024-byte buffer:
// "画像ファイル (*.bmp;*.png;*.gif)" first (the dialog starts on it), then
// "すべてのファイル (*.*)" with "*.*", then the plug-ins' pairs behind them.
struct ImageFilters {
  std::array<char, 1024> buffer{};
  std::vector<FileFilter> pairs;  // views into `buffer`
  ImageFilters() = default;
  ImageFilters(const ImageFilters&) = delete;
  ImageFilters& operator=(const ImageFilters&) = delete;
};

// `write_plugin_pairs` writes the plug-ins' pairs (description and pattern,
// each ending in a zero byte, a closing zero after the last) into the span
// it is given and returns the bytes written; see build_plugin_filter.
void build_image_filters(ImageFilters& filters,
                         const std::function<std::size_t(std::span<char>)>& write_plugin_pairs);

// Whether a file in a dropped folder is taken as an image: ".bmp", ".png" or
// ".gif" in any letter case, or an extension `claimed` (a plug-in's) says yes.
[[nodiscard]] bool is_image_file_name(std::string_view name,
                                      const std::function<bool(std::string_view)>& claimed);

// Sorts names (CP932) as the files of a dropped folder are added: by bytes
// with ASCII letters compared without case ("b.bmp" after "A.bmp"); the
// second byte of a double-byte character is never folded.
void sort_by_name(std::vector<ChosenFile>& files);

// Why a file was not added.
enum class NotAddedReason {
  Unreadable,       // missing, not an image, or cut off
  PageFull,         // the page holds 256 images
  Unstorable,       // '=' or a control character in the path
  TooLong,          // more than 259 bytes
  WithoutCp932,     // a name CP932 cannot write
  NoImagesInFolder  // a dropped folder without image files
};

struct NotAddedFile {
  std::string name;
  NotAddedReason reason = NotAddedReason::Unreadable;
};

// How many files the message names before "…他N件".
inline constexpr std::size_t kMaxNamedFiles = 10;

// "次のファイルは追加できませんでした。", a blank line, then one line per file
// "NAME (REASON)", at most kMaxNamedFiles, then "…他N件" for the rest.
[[nodiscard]] std::string not_added_message(std::span<const NotAddedFile> files);

// What happened to one file handed to `add`.
enum class AddOutcome { Added, Unreadable, PageFull };

// Adds `files` in order through `add` (which places one image and moves the
// cursor). A name the program cannot hold, or a path a project row cannot
// hold, is never read. `cursor` (none: each image starts at 0,0) is carried
// from file to file. Every file that was not added goes into `not_added`.
// Returns the number of images added.
int add_image_files(std::span<const ChosenFile> files, PlacementCursor* cursor,
                    const std::function<AddOutcome(std::string_view, PlacementCursor*)>& add,
                    std::vector<NotAddedFile>& not_added);

// Shows not_added_message through `prompter` (caption "ピコネル：画像の追加",
// exclamation icon) when any file was not added.
void report_not_added(Prompter& prompter, std::span<const NotAddedFile> not_added);

}  // namespace piconel
