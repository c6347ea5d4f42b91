#include "cli/cli_check.h"

#include <optional>

#include "cli/cli_check_findings.h"
#include "cli/cli_command_arguments.h"
#include "cli/cli_json.h"
#include "cli/cli_platform.h"
#include "cli/cli_plugins.h"
#include "cli/cli_project_texts.h"
#include "cli/cli_session.h"
#include "cli/cli_texts.h"
#include "image/plugin_settings.h"
#include "store/bounded_format.h"

namespace piconel {
namespace {

namespace texts = cli_project_texts;

// Room for one finding: two paths of up to 259 bytes and the numbers.
constexpr std::size_t kFindingBytes = 1024;

std::string text_lines(const std::vector<PageFindings>& pages) {
  std::string lines;
  const auto add = [&lines](const std::string& line) { lines += line + "\n"; };
  for (const PageFindings& page : pages) {
    const char* name = page.page.c_str();
    std::string line;
    for (const std::string& path : page.unreadable) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckUnreadable, name, path.c_str());
      add(line);
    }
    for (const auto& [a, b] : page.overlaps) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckOverlap, name, a.path.c_str(),
                                  a.rect.x, a.rect.y, a.rect.width, a.rect.height, b.path.c_str(),
                                  b.rect.x, b.rect.y, b.rect.width, b.rect.height);
      add(line);
    }
    for (const CheckedImage& image : page.outside) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckOutside, name,
                                  image.path.c_str(), image.rect.x, image.rect.y, image.rect.width,
                                  image.rect.height, page.sheet_width, page.sheet_height);
      add(line);
    }
    for (const std::string& label : page.duplicate_labels) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckDuplicateLabel, name,
                                  label.c_str());
      add(line);
    }
    for (const std::string& label : page.invalid_labels) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckInvalidLabel, name,
                                  label.c_str());
      add(line);
    }
    if (page.unwritable_name) {
      (void)bounded_format_string(line, kFindingBytes, texts::kCheckBadPageName, name);
      add(line);
    }
    if (page.too_many_colours || page.sheet_too_large) {
      (void)bounded_format_string(
          line, kFindingBytes, texts::kCheckTrueColour, name,
          page.too_many_colours ? texts::kReasonColours : texts::kReasonSheet);
      add(line);
    }
  }
  return lines;
}

nlohmann::json json_image(const CheckedImage& image) {
  return {{"path", json_text(image.path)},
          {"x", image.rect.x},
          {"y", image.rect.y},
          {"width", image.rect.width},
          {"height", image.rect.height}};
}

nlohmann::json json_texts(const std::vector<std::string>& values) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::string& value : values) {
    list.push_back(json_text(value));
  }
  return list;
}

nlohmann::json json_document(const std::vector<PageFindings>& pages, int findings) {
  nlohmann::json list = nlohmann::json::array();
  for (const PageFindings& page : pages) {
    nlohmann::json overlaps = nlohmann::json::array();
    for (const auto& [a, b] : page.overlaps) {
      overlaps.push_back(nlohmann::json::array({json_image(a), json_image(b)}));
    }
    nlohmann::json outside = nlohmann::json::array();
    for (const CheckedImage& image : page.outside) {
      outside.push_back(json_image(image));
    }
    nlohmann::json true_colour = nullptr;
    if (page.too_many_colours) {
      true_colour = "colours";
    } else if (page.sheet_too_large) {
      true_colour = "sheet";
    }
    list.push_back({{"name", json_text(page.page)},
                    {"sheet", {{"width", page.sheet_width}, {"height", page.sheet_height}}},
                    {"unreadable", json_texts(page.unreadable)},
                    {"overlaps", overlaps},
                    {"outside", outside},
                    {"duplicate_labels", json_texts(page.duplicate_labels)},
                    {"invalid_labels", json_texts(page.invalid_labels)},
                    {"unwritable_name", page.unwritable_name},
                    {"true_colour", true_colour},
                    {"findings", page.count()}});
  }
  return {{"findings", findings}, {"pages", list}};
}

}  // namespace

int run_check_command(std::span<const std::string> arguments, const CliInvocation& invocation,
                      CliConsole& console) {
  bool json = false;
  std::optional<std::string> settings_option;
  const CliSwitch switches[] = {{"--json", &json}};
  const CliValueOption values[] = {{"--settings", &settings_option}};
  const CliCommandParse parse = parse_command_arguments(arguments, {switches, values, 1});
  const ProjectArgument project_argument = take_project_argument(parse, texts::kCheckHelp, console);
  if (!project_argument.path) {
    return project_argument.exit_status;
  }
  const std::optional<std::string>& project_path = project_argument.path;
  // Opened as the output opens it: the page pass's reading, not the view's.
  DocumentStore settings;
  if (!load_cli_settings(settings, settings_option, invocation.program_folder, console)) {
    return kExitUsage;
  }
  Project project(ProjectPorts{}, &settings);
  if (!open_cli_project(project, *project_path, console)) {
    return kExitUsage;
  }
  const std::unique_ptr<PictureDecoder> plugins =
      load_cli_plugins(invocation.program_folder, read_search_susie_folder(settings));

  const std::vector<PageFindings> pages = check_project(project, &settings, plugins.get());
  int findings = 0;
  for (const PageFindings& page : pages) {
    findings += page.count();
  }
  if (json) {
    print_json(console, json_document(pages, findings));
  } else {
    console.output(findings == 0 ? std::string(texts::kCheckClean) + "\n" : text_lines(pages));
  }
  return findings == 0 ? kExitOk : kExitFailed;
}

}  // namespace piconel
