#include "cli/cli_page_fill.h"

#include <algorithm>

#include "cli/cli_build_placement.h"
#include "cli/cli_project_texts.h"
#include "image/open_image_entry.h"
#include "output/c_identifier.h"
#include "project/image_path_check.h"
#include "project/page_name.h"
#include "project/page_operations.h"
#include "project/project_file.h"
#include "project/used_extent.h"
#include "store/cp932.h"
#include "store/decimal_text.h"
#include "store/file_io.h"

namespace piconel {
namespace {

// The extensions of the images a folder gives: those the built-in decoders
// read.
bool has_image_extension(std::string_view name) {
  std::string extension(extension_of(name));
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return extension == ".bmp" || extension == ".dib" || extension == ".png" || extension == ".gif";
}

void gather_images(const std::string& folder, bool recursive, FolderImages& images,
                   CliConsole& console) {
  const FolderListing listing = list_folder(folder);
  if (!listing.ok) {
    console.error(cli_project_texts::kFolderNotRead + folder + "\n");
    images.complete = false;
    return;
  }
  if (listing.unnamed > 0) {
    console.error(cli_project_texts::kUnnamedFiles + folder + "\n");
    images.complete = false;
  }
  const std::string prefix = ends_with_path_separator(folder) ? folder : folder + "\\";
  for (const FolderItem& item : listing.items) {
    if (item.is_folder) {
      if (recursive) {
        gather_images(prefix + item.name, true, images, console);
      }
    } else if (has_image_extension(item.name)) {
      images.paths.push_back(prefix + item.name);
    }
  }
}

std::optional<int> page_for_images(Project& project, std::string_view name, int position,
                                   CliConsole& console) {
  if (const std::optional<int> index = find_page(project, name)) {
    return index;
  }
  return make_page(project, name, position, console);
}

}  // namespace

std::optional<int> find_page(Project& project, std::string_view name) {
  for (int index = 0; index < project.page_count; ++index) {
    if (page_name_at(project, index) == name) {
      return index;
    }
  }
  return std::nullopt;
}

std::optional<int> make_page(Project& project, std::string_view name, int position,
                             CliConsole& console) {
  if (name.size() > static_cast<std::size_t>(kMaxPageNameBytes)) {
    console.error(cli_project_texts::kPageNameTooLong + std::string(name) + "\n");
    return std::nullopt;
  }
  if (!check_page_name(name, project.ports.prompter)) {
    return std::nullopt;
  }
  if (project.page_count >= kMaxPages) {
    console.error(cli_project_texts::kTooManyPages + std::string(name) + "\n");
    return std::nullopt;
  }
  const int before = project.page_count;
  if (!new_page(project, position)) {
    return std::nullopt;
  }
  const int index = position < 0 || position >= before ? before : position;
  if (try_rename_page(project, index, name) != PageRename::Renamed) {
    return std::nullopt;
  }
  // The page's label follows its name, as for a page the window names
  // when it makes it, so the label header gets meaningful names.
  if (!project.store->set_string(page_property_section(name), kPageLabelKey,
                                 to_upper_keeping_double_bytes(name))) {
    return std::nullopt;
  }
  return index;
}

std::string overflow_page_name(std::string_view name, int number) {
  std::string suffix(1, '_');
  suffix += format_decimal(number);
  const std::size_t room = static_cast<std::size_t>(kMaxPageNameBytes) - suffix.size();
  std::size_t length = 0;
  while (length < name.size()) {
    const bool pair = starts_name_double_byte(static_cast<unsigned char>(name[length])) &&
                      length + 1 < name.size();
    const std::size_t next = length + (pair ? 2 : 1);
    if (next > room) {
      break;
    }
    length = next;
  }
  return std::string(name.substr(0, length)) + suffix;
}

FolderImages folder_images(std::string_view folder, bool recursive, CliConsole& console) {
  FolderImages images;
  gather_images(std::string(folder), recursive, images, console);
  std::sort(images.paths.begin(), images.paths.end());
  return images;
}

PageFillResult fill_page(CliSession& session, std::string_view page,
                         std::span<const std::string> paths, const PageFill& fill,
                         CliConsole& console) {
  Project& project = session.project();
  PageFillResult result;
  const bool build = fill.placement == BatchPlacement::Build;
  std::string name(page);
  int overflow = 1;
  std::optional<int> index = page_for_images(project, name, -1, console);
  PlacementCursor cursor;
  const auto place_batch = [&] {
    if (build) {
      place_build_page(project.images, session.view().fixed_sheet().width);
    }
  };
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    if (index && *index != project.current_page) {
      select_page(project, *index);
      cursor = {};
    }
    if (!index) {
      result.page_refused = true;
      result.failed += static_cast<int>(paths.size() - i);
      break;
    }
    if (!check_image_path_storable(path, project.ports.prompter)) {
      ++result.failed;
      continue;
    }
    if (project.images.full()) {
      place_batch();
      name = overflow_page_name(page, ++overflow);
      index = page_for_images(project, name, project.current_page + 1, console);
      --i;  // the same image again, on the next page
      continue;
    }
    OpenImageRequest request;
    request.path = path;
    request.project_folder = project.folder;
    // Build loads every image at (0, 0) and places the page afterwards.
    request.cursor = build ? nullptr : &cursor;
    request.keep_position = build;
    request.view = {session.view().fixed_sheet().width, kHeadlessViewWidth,
                    compute_used_extent(project.images.entries()).width};
    request.decoders = session.decoders();
    request.display_factory = &session.displays();
    const ImageEntry* entry = project.images.add(request);
    if (entry == nullptr) {
      console.error(cli_project_texts::kImageNotRead + path + "\n");
      ++result.failed;
      continue;
    }
    if (fill.label_from_name) {
      ImageSettings settings = entry->settings;
      settings.label = c_identifier_from_file_name(path);
      project.images.change_settings(*entry, settings);
    }
    ++result.added;
  }
  place_batch();
  return result;
}

}  // namespace piconel
