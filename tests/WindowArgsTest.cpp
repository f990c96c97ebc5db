#include "app/start/WindowArgs.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalen {
namespace {

using Action = WindowArgs::Action;

WindowArgs Parse(std::vector<std::string> args) {
  return ParseWindowArgs(args);
}

TEST(WindowArgsTest, ConfigInBothSpellingsAndQtOptionsPassedOn) {
  const WindowArgs a =
      Parse({"-platform", "offscreen", "--config", "http://h/c", "-reverse", "--style", "fusion"});
  EXPECT_EQ(a.action, Action::kRun);
  EXPECT_EQ(a.config, "http://h/c");
  EXPECT_EQ(a.toolkit_args,
            (std::vector<std::string>{"-platform", "offscreen", "-reverse", "--style", "fusion"}));

  // A value is passed on with its option, whatever it spells.
  EXPECT_EQ(Parse({"-name", "xconfig", "--config", "http://h/", "-style", "skin"}).toolkit_args,
            (std::vector<std::string>{"-name", "xconfig", "-style", "skin"}));
  EXPECT_EQ(Parse({"--config=http://h/x?a=b"}).config, "http://h/x?a=b");
  EXPECT_EQ(Parse({}).config, std::nullopt);
  // The last --config counts, as with the CLI.
  EXPECT_EQ(Parse({"--config", "http://a/", "--config", "http://b/"}).config, "http://b/");
}

TEST(WindowArgsTest, SkinInBothSpellings) {
  EXPECT_EQ(Parse({"--skin", "dark"}).skin, "dark");
  EXPECT_EQ(Parse({"--skin=/home/me/my skin/x.qss", "-style", "fusion"}).skin,
            "/home/me/my skin/x.qss");
  EXPECT_EQ(Parse({"--config", "http://h/"}).skin, std::nullopt);
  EXPECT_NE(std::string(WindowUsage()).find("--skin FILE"), std::string::npos);
}

TEST(WindowArgsTest, HelpAndVersionWinOverEverythingBefore) {
  EXPECT_EQ(Parse({"--help"}).action, Action::kHelp);
  EXPECT_EQ(Parse({"-h"}).action, Action::kHelp);
  EXPECT_EQ(Parse({"--config", "http://h/", "--version"}).action, Action::kVersion);
  // What follows them is not looked at.
  EXPECT_EQ(Parse({"--version", "--bogus"}).action, Action::kVersion);
  EXPECT_NE(std::string(WindowUsage()).find("--config URL"), std::string::npos);
}

TEST(WindowArgsTest, UsageErrorsAreOneLine) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--bogus"},
           {"-x"},
           {"stray"},
           {"-"},
           {"--config"},
           {"-platform"},
           {"-platform=offscreen"},  // Qt reads its options only as two arguments
           {"-reverse=1"},
           {"-config", "http://h/"},  // the window's own option takes two dashes
           {"--help=1"},
           {"--skin"},
           {"--skin="},
           {"-stylesheet", "x.qss"}}) {  // an unchecked sheet: the look comes from --skin
    const WindowArgs a = Parse(args);
    EXPECT_EQ(a.action, Action::kUsageError) << args[0];
    EXPECT_FALSE(a.error.empty());
    EXPECT_EQ(a.error.find('\n'), std::string::npos);
  }
  EXPECT_EQ(Parse({"--bogus"}).error, "unknown option --bogus");
  EXPECT_EQ(Parse({"--config"}).error, "--config needs a value");
}

}  // namespace
}  // namespace orvalen
