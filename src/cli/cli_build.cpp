#include "cli/cli_build.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/cli_arguments.h"
#include "cli/cli_command_arguments.h"
#include "cli/cli_output.h"
#include "cli/cli_page_fill.h"
#include "cli/cli_platform.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "output/sheet_canvas.h"
#include "project/current_page.h"
#include "project/page_name.h"
#include "project/project_file.h"
#include "project/project_keys.h"
#include "project/property_chain.h"
#include "store/cp932.h"
#include "store/decimal_text.h"
#include "store/file_io.h"

namespace piconel {
namespace {

namespace texts = cli_project_texts;

// 1 to the largest side the output composes, decimal digits only.
std::optional<int> sheet_side(std::string_view text) {
  if (text.empty() || text.size() > 5) {
    return std::nullopt;
  }
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxSheetSide) {
    return std::nullopt;
  }
  return value;
}

// A page for each folder: page000 for the folder's own images, then each
// subfolder holding images (its subfolders' images with it), by name.
struct BuildPage {
  std::string name;
  std::vector<std::string> paths;
};

std::optional<std::vector<BuildPage>> build_pages(const std::string& folder, CliConsole& console,
                                                  bool& complete) {
  const FolderListing listing = list_folder(folder);
  if (!listing.ok) {
    console.error(texts::kFolderNotRead + folder + "\n");
    return std::nullopt;
  }
  std::vector<BuildPage> pages;
  FolderImages own = folder_images(folder, false, console);
  complete = complete && own.complete;
  pages.push_back({"page000", std::move(own.paths)});

  std::vector<std::string> subfolders;
  for (const FolderItem& item : listing.items) {
    if (item.is_folder) {
      subfolders.push_back(item.name);
    }
  }
  std::sort(subfolders.begin(), subfolders.end());
  const std::string prefix = ends_with_path_separator(folder) ? folder : folder + "\\";
  for (const std::string& subfolder : subfolders) {
    FolderImages images = folder_images(prefix + subfolder, true, console);
    complete = complete && images.complete;
    if (images.paths.empty()) {
      continue;
    }
    // Two folders may give the same page name: the later one is numbered.
    std::string name = page_name_for_folder(subfolder);
    for (int number = 2; std::any_of(pages.begin(), pages.end(),
                                     [&](const BuildPage& page) { return page.name == name; });
         ++number) {
      name = overflow_page_name(page_name_for_folder(subfolder), number);
    }
    pages.push_back({std::move(name), std::move(images.paths)});
  }
  return pages;
}

// The project's own settings the options ask for, as the project dialog
// writes them.
bool apply_build_settings(DocumentStore& store, const std::vector<std::string_view>& outputs,
                          std::optional<int> sheet_width, std::optional<int> sheet_height) {
  bool ok = true;
  for (const std::string_view key : outputs) {
    ok = store.set_string(kPropertySection, key, "1") && ok;
  }
  if (sheet_width && sheet_height) {
    ok = store.set_string(kPropertySection, kFixedSheetKey, "1") && ok;
    ok = store.set_string(kPropertySection, kSheetSizeManualKey, "1") && ok;
    ok = store.set_int(kPropertySection, kSheetWidthKey, *sheet_width) && ok;
    ok = store.set_int(kPropertySection, kSheetHeightKey, *sheet_height) && ok;
  }
  return ok;
}

}  // namespace

std::string page_name_for_folder(std::string_view folder_name) {
  std::string name;
  for (std::size_t i = 0; i < folder_name.size();) {
    const bool pair = starts_name_double_byte(static_cast<unsigned char>(folder_name[i])) &&
                      i + 1 < folder_name.size();
    const std::size_t length = pair ? 2 : 1;
    if (name.size() + length > static_cast<std::size_t>(kMaxPageNameBytes)) {
      break;
    }
    const std::string_view character = folder_name.substr(i, length);
    name += find_invalid_page_name_character(character) == 0 ? std::string(character) : "_";
    i += length;
  }
  return name.empty() ? "page" : name;
}

int run_build_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                      CliConsole& console) {
  PageFill fill;
  fill.placement = BatchPlacement::Build;
  bool label = false;
  bool table_text = false;
  bool table_little = false;
  bool table_big = false;
  std::optional<std::string> out;
  std::optional<std::string> save;
  std::optional<std::string> settings;
  std::optional<std::string> jobs;
  std::optional<std::string> width_text;
  std::optional<std::string> height_text;
  std::vector<std::string> output_arguments;
  const CliSwitch switches[] = {{"--label-from-name", &fill.label_from_name},
                                {"--label", &label},
                                {"--table-text", &table_text},
                                {"--table-little", &table_little},
                                {"--table-big", &table_big}};
  const CliValueOption values[] = {{"--out", &out},
                                   {"--save", &save},
                                   {"--settings", &settings},
                                   {"--jobs", &jobs},
                                   {"--sheet-width", &width_text},
                                   {"--sheet-height", &height_text}};
  const CliCommandParse parse =
      parse_command_arguments(arguments, {switches, values, 1, &output_arguments});
  if (parse.help) {
    console.output(texts::kBuildHelp);
    return kExitOk;
  }
  if (!parse.error.empty()) {
    report_usage_error(console, parse.error);
    return kExitUsage;
  }
  if (parse.positionals.empty()) {
    report_usage_error(console, texts::kNoFolderGiven);
    return kExitUsage;
  }
  if (!out) {
    report_usage_error(console, texts::kOutRequired);
    return kExitUsage;
  }
  std::optional<int> sheet_width;
  std::optional<int> sheet_height;
  for (const auto& [text, side] :
       {std::pair{&width_text, &sheet_width}, std::pair{&height_text, &sheet_height}}) {
    if (*text) {
      *side = sheet_side(**text);
      if (!*side) {
        report_usage_error(console, texts::kBadSheetSide + **text);
        return kExitUsage;
      }
    }
  }
  if (sheet_width.has_value() != sheet_height.has_value()) {
    report_usage_error(console, texts::kBadSheetSide +
                                    std::string(width_text ? "--sheet-height" : "--sheet-width"));
    return kExitUsage;
  }
  // The output's own options (and any other option) go through the output's
  // argument check, so they mean exactly what they mean for `output`.
  output_arguments.insert(output_arguments.begin(), {"output", "-", "--out", *out});
  if (jobs) {
    output_arguments.insert(output_arguments.end(), {"--jobs", *jobs});
  }
  const CliParse output_parse = parse_cli_arguments(output_arguments);
  if (!output_parse.options) {
    report_usage_error(console, output_parse.error);
    return kExitUsage;
  }
  const std::optional<std::string> folder = full_path_of(parse.positionals[0]);
  std::optional<std::string> save_path;
  if (save) {
    save_path = full_path_of(*save);
  }
  if (!folder || (save && !save_path)) {
    report_usage_error(console, texts::kBadPath + (folder ? *save : parse.positionals[0]));
    return kExitUsage;
  }

  bool complete = true;
  const std::optional<std::vector<BuildPage>> pages = build_pages(*folder, console, complete);
  if (!pages) {
    return kExitUsage;
  }
  CliSession session(invocation, console);
  if (!session.start(settings)) {
    return kExitUsage;
  }
  Project& project = session.project();
  std::vector<std::string_view> outputs;
  for (const auto& [on, key] :
       {std::pair{label, kOutputLabelKey}, std::pair{table_text, kOutputTableTextKey},
        std::pair{table_little, kOutputTableLittleKey}, std::pair{table_big, kOutputTableBigKey}}) {
    if (on) {
      outputs.push_back(key);
    }
  }
  if (open_project(project, "") != OpenResult::NewProject ||
      !apply_build_settings(*project.store, outputs, sheet_width, sheet_height)) {
    return kExitFailed;
  }
  // page000 again, now with the sheet settings.
  load_current_page(project);

  int failed = 0;
  for (const BuildPage& page : *pages) {
    const PageFillResult result = fill_page(session, page.name, page.paths, fill, console);
    failed += result.failed;
  }
  bool saved = true;
  if (save_path) {
    saved = save_cli_project(project, *save_path);
  }
  const int status =
      output_opened_project(project, session.decoders(), *output_parse.options, console);
  if (status != kExitOk) {
    return status;
  }
  const bool strict_failure = output_parse.options->strict && (failed > 0 || !complete);
  return saved && !strict_failure ? kExitOk : kExitFailed;
}

}  // namespace piconel
