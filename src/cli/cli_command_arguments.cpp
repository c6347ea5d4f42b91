#include "cli/cli_command_arguments.h"

#include "cli/cli_texts.h"

namespace piconel {
namespace {

// "--name" itself, or "--name=..." (the value after '=').
bool names_option(std::string_view argument, std::string_view name) {
  return argument == name ||
         (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
          argument[name.size()] == '=');
}

}  // namespace

CliCommandParse parse_command_arguments(std::span<const std::string> arguments,
                                        const CliCommandArguments& accepted) {
  CliCommandParse parse;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      parse.help = true;
      return parse;
    }
  }
  const auto wrong = [&parse](std::string_view message, std::string_view argument) {
    parse.error = std::string(message) + std::string(argument);
    parse.positionals.clear();
    return parse;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    bool taken = false;
    for (const CliSwitch& option : accepted.switches) {
      if (argument == option.name) {
        *option.target = true;
        taken = true;
      }
    }
    for (const CliValueOption& option : accepted.values) {
      if (taken || !names_option(argument, option.name)) {
        continue;
      }
      taken = true;
      if (argument.size() > option.name.size()) {
        *option.target = std::string(argument.substr(option.name.size() + 1));
      } else if (i + 1 < arguments.size()) {
        *option.target = arguments[++i];
      } else {
        return wrong(cli_texts::kMissingValue, argument);
      }
      if ((*option.target)->empty()) {
        return wrong(cli_texts::kMissingValue, option.name);
      }
    }
    if (taken) {
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-' && accepted.others != nullptr) {
      accepted.others->emplace_back(argument);
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      return wrong(cli_texts::kUnknownArgument, argument);
    }
    if (parse.positionals.size() >= accepted.max_positionals) {
      return wrong(cli_texts::kExtraArgument, argument);
    }
    parse.positionals.emplace_back(argument);
  }
  return parse;
}

}  // namespace piconel
