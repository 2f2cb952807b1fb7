// The tool's command line: a lone --help or --version answers; anything else opens the window.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace zelor::test {
namespace {

struct Case {
  std::vector<const char*> args;  // after the program name
  InfoOption expected;
};

TEST(CommandLine, OnlyALoneInformationOptionAnswers) {
  const std::vector<Case> cases = {
      {{}, InfoOption::None},
      {{"--help"}, InfoOption::Help},
      {{"-h"}, InfoOption::Help},
      {{"--version"}, InfoOption::Version},
      {{"--help", "--version"}, InfoOption::None},   // not a lone option: the window opens
      {{"-platform", "offscreen"}, InfoOption::None},  // Qt's own options pass through
      {{"--helpme"}, InfoOption::None},
      {{"-version"}, InfoOption::None},
      {{""}, InfoOption::None},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"zelor-pui"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    argv.push_back(nullptr);
    EXPECT_EQ(InfoOptionOf(static_cast<int>(argv.size()) - 1, argv.data()), c.expected)
        << (c.args.empty() ? "(none)" : c.args.front());
  }
}

TEST(CommandLine, TheTextsNameTheProgramAndItsOptions) {
  const std::string help = ToolHelpText();
  EXPECT_EQ(help.rfind("Usage: zelor-pui ", 0), 0u);
  EXPECT_NE(help.find("--help"), std::string::npos);
  EXPECT_NE(help.find("--version"), std::string::npos);
  EXPECT_NE(help.find("dialout"), std::string::npos);
  EXPECT_EQ(ToolVersionText("1.04").rfind("zelor-pui 1.04\n", 0), 0u);
}

}  // namespace
}  // namespace zelor::test
