#pragma once

// Filling pages from the command line: finding or making a page by name,
// gathering the image files of folders, and adding files to a page (going
// on with overflow pages when it holds 256 images).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_session.h"

namespace piconel {

// The index of the page named `name` (byte-exact), or none.
[[nodiscard]] std::optional<int> find_page(Project& project, std::string_view name);

// A new page named `name` before `position` (-1: at the end), its PAGELABEL
// the name in upper case. A name the page name rule refuses gets the
// window's message through the prompter; a name over 30 bytes or a 257th
// page is reported here. None when refused.
[[nodiscard]] std::optional<int> make_page(Project& project, std::string_view name, int position,
                                           CliConsole& console);

// "<name>_<number>" cut (never inside a double-byte character) so that it
// holds at most 30 bytes: the page that follows a full page.
[[nodiscard]] std::string overflow_page_name(std::string_view name, int number);

// The image files of a folder (bmp, dib, png and gif, in any letter case),
// with `recursive` those of its subfolders too, as full paths sorted byte by
// byte. A folder that cannot be read, or names without a CP932 form, are
// reported; `complete` is then false.
struct FolderImages {
  std::vector<std::string> paths;
  bool complete = true;
};
[[nodiscard]] FolderImages folder_images(std::string_view folder, bool recursive,
                                         CliConsole& console);

// Where the images of a batch go.
enum class BatchPlacement {
  // Each image by the window's automatic placement, as the window's add.
  Automatic,
  // Loaded at (0, 0), then the page's new images placed together by
  // place_build_page.
  Build,
};

struct PageFill {
  bool label_from_name = false;  // label: c_identifier_from_file_name
  BatchPlacement placement = BatchPlacement::Automatic;
};

struct PageFillResult {
  int added = 0;
  int failed = 0;             // refused or unreadable, each reported
  bool page_refused = false;  // the page (or an overflow page) could not be made
};

// Makes page `page` current and adds `paths` (full paths) in order. A path a
// project row cannot hold is refused with the window's message; a file that
// cannot be read is reported and skipped. When the page holds 256 images the
// next ones go to overflow_page_name(page, 2), 3, ... (made after it when
// missing). The project is marked modified when an image was added.
[[nodiscard]] PageFillResult fill_page(CliSession& session, std::string_view page,
                                       std::span<const std::string> paths, const PageFill& fill,
                                       CliConsole& console);

}  // namespace piconel
