#pragma once

// piconel-cli: the project commands without a window. `output` runs the
// same output code as the window's "出力" command on a project file and
// reports on stderr; the other commands (listed in kCliCommands) make, fill,
// check and list projects with the window's own project code.
//
// Output: every image that cannot be read is reported as "画像読み込みエラー(PAGE):
// PATH" (the path as the project stores it); its page is still written.
//
// Exit status: 0 when every page was output, 1 when a page failed (each
// reported as "ページ出力エラー(NAME)") or, with --strict, when an image could
// not be read, 2 when the project or the settings file does not load or the
// arguments are wrong.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace piconel {

inline constexpr int kExitOk = 0;
inline constexpr int kExitPageFailed = 1;
inline constexpr int kExitUsage = 2;
// A project command that ran but could not do all it was asked, or found
// problems (check).
inline constexpr int kExitFailed = 1;

// Where the command writes; CP932 text, converted by the implementation.
class CliConsole {
 public:
  virtual ~CliConsole() = default;
  virtual void error(std::string_view cp932) = 0;
  virtual void output(std::string_view cp932) = 0;
  // Progress is shown only on a terminal.
  virtual bool error_is_terminal() const = 0;
  // Seconds since the command started, for "is the run long".
  virtual double elapsed_seconds() const = 0;
};

struct CliInvocation {
  std::vector<std::string> arguments;  // CP932, program name left out
  std::string program_folder;          // CP932, where piconel.ini is looked for
};

[[nodiscard]] int run_cli(const CliInvocation& invocation, CliConsole& console);

// One command besides `output`: its name (the first argument), its usage
// line for the overview of --help (CP932), and what runs it with the
// arguments after its name.
struct CliCommand {
  std::string_view name;
  std::string_view usage;
  int (*run)(std::span<const std::string> arguments, const CliInvocation& invocation,
             CliConsole& console);
};
[[nodiscard]] std::span<const CliCommand> cli_commands();

// A wrong argument: the message, then the hint where help is found.
void report_usage_error(CliConsole& console, std::string_view message);

}  // namespace piconel
