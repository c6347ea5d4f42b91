#include "cli/cli_pack.h"

#include <memory>
#include <string_view>

#include "cli/cli_pack_texts.h"
#include "cli/cli_plugins.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "image/load_image.h"
#include "image/plugin_settings.h"
#include "project/page_rows_packing.h"
#include "project/project_file.h"
#include "project/property_chain.h"
#include "store/bounded_format.h"
#include "store/decimal_text.h"
#include "store/file_io.h"

namespace piconel {
namespace {

// Room for one message: a page name and a path of up to 259 bytes.
constexpr std::size_t kMessageBytes = 512;

PackCommandParse wrong(std::string message) {
  PackCommandParse parse;
  parse.error = std::move(message);
  return parse;
}

// Sizes pictures through the same loaders as the output.
class LoaderSizer final : public PictureSizer {
 public:
  explicit LoaderSizer(const PictureDecoder* decoders) : decoders_(decoders) {}
  std::optional<PackSize> picture_size(std::string_view full_path) override {
    LoadImageRequest request;
    request.path = full_path;
    request.decoders = decoders_;
    const std::optional<Dib> picture = load_image(request);
    if (!picture) {
      return std::nullopt;
    }
    return PackSize{picture->width, picture->height};
  }

 private:
  const PictureDecoder* decoders_;
};

// "page000: 256 x 128  充填率 93.4%", with "  シート 256 x 256" when the
// sheet asked for is larger than the box.
std::string page_line(std::string_view page_name, const PagePacking& packing) {
  std::string line(page_name);
  line += ": " + format_decimal(packing.box_width) + " x " + format_decimal(packing.box_height);
  line += "  " + fill_text(packing.fill_permille);
  if (packing.sheet_width != packing.box_width || packing.sheet_height != packing.box_height) {
    line += "  ";
    line += cli_pack_texts::kSheet;
    line += ' ';
    line += format_decimal(packing.sheet_width) + " x " + format_decimal(packing.sheet_height);
  }
  return line;
}

void report_paths(CliConsole& console, const char* format, std::string_view page_name,
                  const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::string message;
    (void)bounded_format_string(message, kMessageBytes, format, std::string(page_name).c_str(),
                                path.c_str());
    console.error(message + "\n");
  }
}

}  // namespace

PackCommandParse parse_pack_arguments(const std::vector<std::string>& arguments) {
  PackCommandOptions options;
  bool have_project = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return PackCommandParse{options, {}};
    }
    bool flag_found = false;
    for (const auto& [name, flag] : {std::pair{std::string_view("--all"), &options.all},
                                     std::pair{std::string_view("--pot"), &options.power_of_two},
                                     std::pair{std::string_view("--square"), &options.square},
                                     std::pair{std::string_view("--dry-run"), &options.dry_run}}) {
      if (argument == name) {
        *flag = true;
        flag_found = true;
      }
    }
    if (flag_found) {
      continue;
    }
    std::optional<std::string> padding_text;
    std::optional<std::string>* target = nullptr;
    std::string_view name;
    for (const auto& [option, slot] :
         {std::pair{std::string_view("--page"), &options.page},
          std::pair{std::string_view("--padding"), &padding_text},
          std::pair{std::string_view("--settings"), &options.settings}}) {
      if (argument == option ||
          (argument.size() > option.size() && argument.substr(0, option.size()) == option &&
           argument[option.size()] == '=')) {
        target = slot;
        name = option;
      }
    }
    if (target != nullptr) {
      if (argument.size() > name.size()) {
        *target = std::string(argument.substr(name.size() + 1));
      } else if (i + 1 < arguments.size()) {
        *target = arguments[++i];
      } else {
        return wrong(std::string(cli_texts::kMissingValue) + std::string(argument));
      }
      if ((*target)->empty()) {
        return wrong(std::string(cli_texts::kMissingValue) + std::string(name));
      }
      if (padding_text) {
        options.padding = parse_decimal_in_range(*padding_text, 0, kMaxPackPadding);
        if (!options.padding) {
          return wrong(std::string(cli_pack_texts::kBadPadding) + *padding_text);
        }
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      return wrong(std::string(cli_texts::kUnknownArgument) + std::string(argument));
    }
    if (have_project) {
      return wrong(std::string(cli_texts::kExtraArgument) + std::string(argument));
    }
    options.project = std::string(argument);
    have_project = true;
  }
  if (!have_project || options.project.empty()) {
    return wrong(cli_texts::kMissingProject);
  }
  if (options.page && options.all) {
    return wrong(cli_pack_texts::kPageAndAll);
  }
  return PackCommandParse{options, {}};
}

int run_pack_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                     CliConsole& console) {
  const PackCommandParse parse =
      parse_pack_arguments(std::vector<std::string>(arguments.begin(), arguments.end()));
  if (!parse.options) {
    report_usage_error(console, parse.error);
    return kExitUsage;
  }
  const PackCommandOptions& options = *parse.options;
  if (options.help) {
    console.output(cli_pack_texts::kHelpText);
    return kExitOk;
  }

  DocumentStore settings;
  if (!load_cli_settings(settings, options.settings, invocation.program_folder, console)) {
    return kExitUsage;
  }
  Project project(ProjectPorts{}, &settings);
  if (!open_cli_project(project, options.project, console)) {
    return kExitUsage;
  }

  std::vector<std::string> pages;
  if (options.all) {
    for (int i = 0; i < project.page_count; ++i) {
      if (std::optional<std::string> name = page_name_at(project, i)) {
        pages.push_back(std::move(*name));
      }
    }
  } else if (options.page) {
    bool found = false;
    for (int i = 0; i < project.page_count && !found; ++i) {
      found = page_name_at(project, i) == *options.page;
    }
    if (!found) {
      console.error(std::string(cli_pack_texts::kNoSuchPage) + *options.page + "\n");
      return kExitUsage;
    }
    pages.push_back(*options.page);
  } else if (std::optional<std::string> name = page_name_at(project, project.current_page)) {
    pages.push_back(std::move(*name));
  }

  const std::unique_ptr<PictureDecoder> plugins =
      load_cli_plugins(invocation.program_folder, read_search_susie_folder(settings));
  LoaderSizer sizer(plugins.get());
  int status = kExitOk;
  bool changed = false;
  for (const std::string& page : pages) {
    PackChoices choices;
    {
      const PropertyChain chain(*project.store, &settings, page);
      choices = read_pack_choices(chain.start());
    }
    choices.selected_only = false;
    if (options.padding) {
      choices.padding = *options.padding;
    }
    choices.power_of_two = choices.power_of_two || options.power_of_two;
    choices.square = choices.square || options.square;
    const PageRowsPacking result = pack_page_rows(project, page, choices, sizer, !options.dry_run);
    report_paths(console, cli_texts::kImageUnreadableFormat, page, result.unreadable_paths);
    report_paths(console, cli_pack_texts::kTooLargeFormat, page, result.too_large_paths);
    if (!result.packing.packed) {
      std::string message;
      (void)bounded_format_string(message, kMessageBytes, cli_pack_texts::kCannotPackFormat,
                                  page.c_str());
      console.error(message + "\n");
      status = kExitPageFailed;
      continue;
    }
    changed = true;
    console.output(page_line(page, result.packing) + "\n");
  }
  if (options.dry_run) {
    console.output(std::string(cli_pack_texts::kNotSaved) + "\n");
    return status;
  }
  if (changed && save_project(project, std::nullopt) != SaveResult::Saved) {
    console.error(std::string(cli_pack_texts::kSaveFailed) + "\n");
    return kExitPageFailed;
  }
  return status;
}

}  // namespace piconel
