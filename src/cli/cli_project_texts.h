#pragma once

// Texts of the project commands (new, add, remove, check, list, build), CP932
// bytes converted for the console when written. The comment above each shows
// the text.

namespace piconel::cli_project_texts {

// ほかのコマンド（詳しくは piconel-cli COMMAND --help）:
inline constexpr const char* kOtherCommandsHeading =
    "\x82\xd9\x82\xa9\x82\xcc\x83R\x83}\x83\x93\x83h\x81i\x8f\xda\x82\xb5\x82\xad\x82\xcd "
    "piconel-cli COMMAND --help\x81j:";

}  // namespace piconel::cli_project_texts
