#include "cli/cli_arguments.h"

#include <string_view>

#include "cli/cli_texts.h"
#include "store/decimal_text.h"

namespace piconel {
namespace {

// More threads than this only cost memory: each composes a page of its own.
constexpr int kMaxJobs = 256;

CliParse wrong(std::string message) {
  CliParse parse;
  parse.error = std::move(message);
  return parse;
}

}  // namespace

CliParse parse_cli_arguments(const std::vector<std::string>& arguments) {
  CliOptions options;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return CliParse{options, {}};
    }
  }
  if (arguments.empty()) {
    return wrong(cli_texts::kMissingProject);
  }
  if (arguments[0] != "output") {
    return wrong(std::string(cli_texts::kUnknownArgument) + arguments[0]);
  }
  bool have_project = false;
  std::optional<std::string> jobs_text;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--if-changed") {
      options.if_changed = true;
      continue;
    }
    std::optional<std::string>* target = nullptr;
    std::string_view name;
    for (const auto& [option, slot] : {std::pair{std::string_view("--out"), &options.out},
                                       std::pair{std::string_view("--settings"), &options.settings},
                                       std::pair{std::string_view("--jobs"), &jobs_text}}) {
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
      continue;
    }
    if (argument == "--strict") {
      options.strict = true;
      continue;
    }
    if (argument == "--png" || argument == "--png-transparent") {
      options.png = true;
      options.png_transparent = options.png_transparent || argument == "--png-transparent";
      continue;
    }
    if (argument == "--json") {
      options.json = true;
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
  if (options.out && options.out->empty()) {
    return wrong(std::string(cli_texts::kMissingValue) + "--out");
  }
  if (options.settings && options.settings->empty()) {
    return wrong(std::string(cli_texts::kMissingValue) + "--settings");
  }
  if (jobs_text) {
    options.jobs = parse_decimal_in_range(*jobs_text, 1, kMaxJobs);
    if (!options.jobs) {
      return wrong(std::string(cli_texts::kBadJobs) + *jobs_text);
    }
  }
  return CliParse{options, {}};
}

}  // namespace piconel
