// piconel-cli: the output run without a window, for build pipelines.
#include <chrono>

#include "cli/cli_command.h"
#include "cli/cli_platform.h"
#include "cli/cli_texts.h"

namespace {

class SystemConsole final : public piconel::CliConsole {
 public:
  void error(std::string_view cp932) override { piconel::write_error_text(cp932); }
  void output(std::string_view cp932) override { piconel::write_output_text(cp932); }
  bool error_is_terminal() const override { return terminal_; }
  double elapsed_seconds() const override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  bool terminal_ = piconel::stderr_is_terminal();
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

int main(int argc, char** argv) {
  piconel::keep_freed_memory_for_reuse();
  SystemConsole console;
  auto arguments = piconel::cp932_arguments(argc, argv);
  if (!arguments) {
    console.error(std::string(piconel::cli_texts::kBadArgumentText) + "\n");
    return piconel::kExitUsage;
  }
  piconel::CliInvocation invocation;
  invocation.arguments = std::move(*arguments);
  invocation.program_folder = piconel::program_folder();
  return piconel::run_cli(invocation, console);
}
