// The option parser: checked values are usage errors, `--` ends the
// options, --config reaches the settings hook.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"

namespace twr::cli {
namespace {

struct Parsed {
  ArgParser::Result result;
  std::optional<int> layout;
  std::optional<double> inner;
  std::string quality, title, config;
  bool hooked = false;
};

Parsed ParseArgs(std::vector<std::string> args) {
  Parsed p;
  ArgParser parser("test", "A test.");
  parser.Integer("layout", "N", "", &p.layout);
  parser.Decimal("inner", "MM", "", &p.inner);
  parser.Choice("quality", "Q", "", {"draft", "normal", "high"}, &p.quality);
  parser.Option("title", "TEXT", "", &p.title);
  ArgParser::SetSettingsHook([&](const std::string& config) {
    p.hooked = true;
    p.config = config;
    return config != "refused.ini";
  });
  args.insert(args.begin(), "test");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  p.result = parser.Parse(static_cast<int>(argv.size()), argv.data());
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  ArgParser::SetSettingsHook({});
  return p;
}

TEST(ArgParser, ChecksValuesAndEndsOptionsAtDoubleDash) {
  using R = ArgParser::Result;
  struct Case {
    std::vector<std::string> args;
    R result;
  };
  const Case cases[] = {
      {{"--layout", "3", "--inner=25.5", "--quality", "high"}, R::kOk},
      {{"--layout", "+3"}, R::kOk},
      {{"--layout", "3x"}, R::kError},
      {{"--layout", "99999999999"}, R::kError},
      {{"--inner", "25,5"}, R::kError},  // a comma is no decimal point, in any locale
      {{"--inner", "nan"}, R::kError},
      {{"--inner", ""}, R::kError},
      {{"--quality", "best"}, R::kError},
      {{"--title"}, R::kError},
      {{"--title", "--inner"}, R::kOk},  // a value may look like an option
      {{"--", "--inner"}, R::kError},    // after -- nothing is an option
      {{"--bogus"}, R::kError},
      {{"--help"}, R::kHelpShown},
      {{"--", "--help"}, R::kError},
      {{"--config", "refused.ini"}, R::kError},
      {{"--config="}, R::kError},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const Parsed p = ParseArgs(c.args);
    EXPECT_EQ(p.result, c.result) << shown;
    EXPECT_EQ(p.hooked, c.result == R::kOk || c.args[0] == "--config") << shown;
  }
  const Parsed p =
      ParseArgs({"--layout", "3", "--inner=25.5", "--quality", "high", "--config", "x.ini"});
  EXPECT_EQ(p.layout, 3);
  EXPECT_EQ(p.inner, 25.5);
  EXPECT_EQ(p.quality, "high");
  EXPECT_EQ(p.config, "x.ini");
  ArgParser::SetDefaultConfig("before.ini");
  EXPECT_EQ(ParseArgs({}).config, "before.ini");
  ArgParser::SetDefaultConfig("");
}

// "Did you mean": the nearest word within the edits a slip makes, and
// nothing for a word that is merely short or far from every candidate.
TEST(ClosestWord, SuggestsOnlyWhatASlipExplains) {
  const std::vector<std::string> commands = {"help",   "layouts", "layout", "render", "plan",
                                             "drives", "disc",    "burn",   "design"};
  const std::vector<std::string> options = {"config", "help",  "layout", "title", "date",
                                            "note",   "inner", "outer",  "drive", "yes"};
  struct Case {
    const char* word;
    const std::vector<std::string>& candidates;
    const char* meant;
  };
  const Case cases[] = {
      {"rendr", commands, "render"},    // a letter dropped
      {"renderr", commands, "render"},  // one added
      {"dsic", commands, "disc"},       // neighbours swapped: one edit
      {"layot", commands, "layout"},    // nearer than "layouts"
      {"layoutss", commands, "layouts"},
      {"Drives", commands, "drives"},
      {"desing", commands, "design"},
      {"bun", commands, "burn"},
      {"brun", commands, "burn"},
      {"rnedr", commands, "render"},  // two swaps in a long word
      {"bnr", commands, ""},          // two edits are too many for a short word
      {"x", commands, ""},
      {"", commands, ""},
      {"render", commands, ""},  // the word itself is no suggestion
      {"titel", options, "title"},
      {"innr", options, "inner"},
      {"drvie", options, "drive"},
      {"ye", options, "yes"},
      {"y", options, ""},
      {"quality", options, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ClosestWord(c.word, c.candidates), c.meant) << c.word;
}

}  // namespace
}  // namespace twr::cli
