#pragma once

// JSON documents for scripts (check --json, list --json), built with
// nlohmann/json through its non-throwing forms only.

#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/cli_command.h"

namespace piconel {

// A JSON string of CP932 text (converted to UTF-8).
[[nodiscard]] nlohmann::json json_text(std::string_view cp932);

// Writes the document to stdout, pretty-printed, as ASCII (every other
// character escaped as \uXXXX), so it reads the same whatever the console's
// code page; bytes that are no UTF-8 become U+FFFD instead of failing.
void print_json(CliConsole& console, const nlohmann::json& document);

}  // namespace piconel
