#include "cli/cli_json.h"

#include <string>

#include "cli/cli_platform.h"

namespace piconel {

nlohmann::json json_text(std::string_view cp932) {
  return cp932_to_utf8(cp932);
}

void print_json(CliConsole& console, const nlohmann::json& document) {
  console.output(document.dump(2, ' ', true, nlohmann::json::error_handler_t::replace) + "\n");
}

}  // namespace piconel
