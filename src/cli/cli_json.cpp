#include "cli/cli_json.h"

#include <string>

#include "store/utf8_text.h"

namespace piconel {

// The output's conversion, so a name reads the same in both programs' JSON.
nlohmann::json json_text(std::string_view cp932) {
  return cp932_to_utf8(cp932).value_or(std::string());
}

void print_json(CliConsole& console, const nlohmann::json& document) {
  console.output(document.dump(2, ' ', true, nlohmann::json::error_handler_t::replace) + "\n");
}

}  // namespace piconel
