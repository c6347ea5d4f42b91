#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

#include "cli/cli_texts.h"

namespace piconel {
namespace {

TEST(CliArguments, ProjectAndOptionsInAnyOrder) {
  struct Case {
    std::vector<std::string> arguments;
    std::string project;
    std::optional<std::string> out;
    std::optional<std::string> settings;
    bool strict = false;
  };
  const std::vector<Case> cases = {
      {{"output", "--strict", "a.ijp", "--out", "d"}, "a.ijp", "d", std::nullopt, true},
      {{"output", "a.ijp"}, "a.ijp", std::nullopt, std::nullopt},
      {{"output", "a.ijp", "--out", "dist"}, "a.ijp", "dist", std::nullopt},
      {{"output", "--out", "dist", "a.ijp"}, "a.ijp", "dist", std::nullopt},
      {{"output", "--out=dist", "--settings=s.ini", "a.ijp"}, "a.ijp", "dist", "s.ini"},
      {{"output", "a.ijp", "--settings", "s.ini", "--out", "o"}, "a.ijp", "o", "s.ini"},
      // A value that looks like an option is still the option's value.
      {{"output", "a.ijp", "--out", "--settings"}, "a.ijp", "--settings", std::nullopt},
      // CP932 bytes pass unchanged (ソ holds the byte 0x5C).
      {{"output", "\x83\x5c.ijp"}, "\x83\x5c.ijp", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const CliParse parse = parse_cli_arguments(c.arguments);
    ASSERT_TRUE(parse.options) << c.arguments.size() << " " << parse.error;
    EXPECT_FALSE(parse.options->help);
    EXPECT_EQ(parse.options->project, c.project);
    EXPECT_EQ(parse.options->out, c.out);
    EXPECT_EQ(parse.options->settings, c.settings);
    EXPECT_EQ(parse.options->strict, c.strict);
  }
}

TEST(CliArguments, JobsAndIfChanged) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<int> jobs;
    bool if_changed;
  };
  const std::vector<Case> cases = {
      {{"output", "a.ijp"}, std::nullopt, false},
      {{"output", "a.ijp", "--jobs", "1"}, 1, false},
      {{"output", "--jobs=4", "--if-changed", "a.ijp"}, 4, true},
      {{"output", "--if-changed", "a.ijp", "--jobs", "256"}, 256, true},
  };
  for (const Case& c : cases) {
    const CliParse parse = parse_cli_arguments(c.arguments);
    ASSERT_TRUE(parse.options) << parse.error;
    EXPECT_EQ(parse.options->project, "a.ijp");
    EXPECT_EQ(parse.options->jobs, c.jobs);
    EXPECT_EQ(parse.options->if_changed, c.if_changed);
  }
}

TEST(CliArguments, PngAndJsonSwitches) {
  struct Case {
    std::vector<std::string> arguments;
    bool png, png_transparent, json;
  };
  const std::vector<Case> cases = {
      {{"output", "a.ijp"}, false, false, false},
      {{"output", "--png", "a.ijp"}, true, false, false},
      // Transparency implies the PNG.
      {{"output", "a.ijp", "--png-transparent"}, true, true, false},
      {{"output", "--json", "a.ijp", "--png", "--png-transparent"}, true, true, true},
      {{"output", "--json", "a.ijp"}, false, false, true},
  };
  for (const Case& c : cases) {
    const CliParse parse = parse_cli_arguments(c.arguments);
    ASSERT_TRUE(parse.options) << parse.error;
    EXPECT_EQ(parse.options->project, "a.ijp");
    EXPECT_EQ(parse.options->png, c.png);
    EXPECT_EQ(parse.options->png_transparent, c.png_transparent);
    EXPECT_EQ(parse.options->json, c.json);
  }
  // Not abbreviations or values: unknown.
  for (const char* wrong : {"--pn", "--png=1", "--json=0", "--png-trans"}) {
    EXPECT_FALSE(parse_cli_arguments({"output", "a.ijp", wrong}).options) << wrong;
  }
}

TEST(CliArguments, HelpAnywhere) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--help"}, {"-h"}, {"output", "--help"}, {"output", "a.ijp", "-h"}, {"x", "--help"}}) {
    const CliParse parse = parse_cli_arguments(arguments);
    ASSERT_TRUE(parse.options);
    EXPECT_TRUE(parse.options->help);
  }
}

TEST(CliArguments, WrongArgumentsGiveTheirMessage) {
  using namespace cli_texts;
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{}, kMissingProject},
      {{"output"}, kMissingProject},
      {{"render", "a.ijp"}, std::string(kUnknownArgument) + "render"},
      {{"output", "a.ijp", "b.ijp"}, std::string(kExtraArgument) + "b.ijp"},
      {{"output", "a.ijp", "--fast"}, std::string(kUnknownArgument) + "--fast"},
      {{"output", "a.ijp", "--outdir", "x"}, std::string(kUnknownArgument) + "--outdir"},
      {{"output", "a.ijp", "--out"}, std::string(kMissingValue) + "--out"},
      {{"output", "a.ijp", "--out="}, std::string(kMissingValue) + "--out"},
      {{"output", "a.ijp", "--settings="}, std::string(kMissingValue) + "--settings"},
      {{"output", "a.ijp", "--jobs"}, std::string(kMissingValue) + "--jobs"},
      {{"output", "a.ijp", "--jobs", "0"}, std::string(kBadJobs) + "0"},
      {{"output", "a.ijp", "--jobs=-2"}, std::string(kBadJobs) + "-2"},
      {{"output", "a.ijp", "--jobs", "2x"}, std::string(kBadJobs) + "2x"},
      {{"output", "a.ijp", "--jobs", "257"}, std::string(kBadJobs) + "257"},
      {{"output", "a.ijp", "--jobs", "99999999999"}, std::string(kBadJobs) + "99999999999"},
  };
  for (const Case& c : cases) {
    const CliParse parse = parse_cli_arguments(c.arguments);
    EXPECT_FALSE(parse.options) << c.error;
    EXPECT_EQ(parse.error, c.error);
  }
}

}  // namespace
}  // namespace piconel
