#pragma once

// A console that keeps what a command writes, for the command tests.

#include <string>
#include <string_view>

#include "cli/cli_command.h"

namespace piconel::test {

struct FakeConsole : CliConsole {
  std::string errors;
  std::string outputs;

  void error(std::string_view cp932) override { errors += cp932; }
  void output(std::string_view cp932) override { outputs += cp932; }
  bool error_is_terminal() const override { return false; }
  double elapsed_seconds() const override { return 0; }
};

}  // namespace piconel::test
