// The three programs' command-line conventions, run as a user runs them:
// without a display, reading only the exit status and the two streams.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/SiteConfig.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvalen {
namespace {

using test::ChildProcess;

struct Program {
  const char* name;
  const char* path;
  std::vector<std::string> bad_value;  // arguments with a value the program refuses
};

const Program kPrograms[] = {
    {"orvalen", ORVALEN_WINDOW_PATH, {"--config", "ftp://h/c"}},
    {"orvalen-cli", ORVALEN_CLI_PATH, {"--config", "ftp://h/c", "cats"}},
    {"orvalen-sandbox", ORVALEN_SANDBOX_PATH, {"--port", "70000"}},
};

// No display of any kind, and no configuration address from outside.
const test::EnvironmentChanges kNoDisplay{{"DISPLAY", std::nullopt},
                                          {"WAYLAND_DISPLAY", std::nullopt},
                                          {"QT_QPA_PLATFORM", std::nullopt},
                                          {"ORVALEN_CONFIG_URL", std::nullopt}};

struct Outcome {
  std::optional<int> status;
  std::string out, err;
};

Outcome RunProgram(const Program& p, const std::vector<std::string>& args,
                   const test::EnvironmentChanges& env = kNoDisplay) {
  ChildProcess child(p.path, args, env);
  Outcome o;
  o.status = child.Wait(std::chrono::seconds(30));
  o.out = child.Output();
  o.err = child.Errors();
  return o;
}

void ExpectOneLineUsageError(const Program& p, const Outcome& o) {
  EXPECT_EQ(o.status, 2) << p.name << ": " << o.err;
  EXPECT_TRUE(o.err.starts_with(std::string(p.name) + ": ")) << o.err;
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << p.name << ": " << o.err;
  EXPECT_EQ(o.out, "") << p.name;
}

TEST(CommandLineTest, HelpAndVersionNeedNoDisplay) {
  for (const Program& p : kPrograms) {
    const Outcome help = RunProgram(p, {"--help"});
    EXPECT_EQ(help.status, 0) << p.name << ": " << help.err;
    EXPECT_TRUE(help.out.starts_with("usage: " + std::string(p.name) + " ")) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << p.name;
    EXPECT_EQ(help.err, "") << p.name;

    const Outcome version = RunProgram(p, {"--version"});
    EXPECT_EQ(version.status, 0) << p.name;
    EXPECT_EQ(version.out, std::string(p.name) + " " + std::string(kVersion) + "\n");
    EXPECT_EQ(version.err, "") << p.name;
  }
}

TEST(CommandLineTest, UnknownOptionsAndBadValuesExitTwo) {
  for (const Program& p : kPrograms) {
    ExpectOneLineUsageError(p, RunProgram(p, {"--no-such-option"}));
    ExpectOneLineUsageError(p, RunProgram(p, p.bad_value));
  }
  // The window and the CLI read the same variable, and refuse the same values.
  test::EnvironmentChanges env = kNoDisplay;
  env["ORVALEN_CONFIG_URL"] = "file:///etc/passwd";
  for (const auto& [p, args] : {std::pair{kPrograms[0], std::vector<std::string>{}},
                                std::pair{kPrograms[1], std::vector<std::string>{"cats"}}}) {
    const Outcome o = RunProgram(p, args, env);
    ExpectOneLineUsageError(p, o);
    EXPECT_NE(o.err.find("ORVALEN_CONFIG_URL"), std::string::npos) << o.err;
  }
}

// Where Qt would abort (status 134, and nothing for a user who started it
// from a menu), the window says in one line what is missing.
TEST(CommandLineTest, WindowWithoutADisplaySaysWhatIsMissing) {
  const Program& window = kPrograms[0];
  test::EnvironmentChanges env = kNoDisplay;
  env["XDG_SESSION_TYPE"] = std::nullopt;
  for (const auto& [args, words] :
       {std::pair{std::vector<std::string>{}, std::string("qt6-wayland")},
        std::pair{std::vector<std::string>{"-platform", "nosuch"}, std::string("\"nosuch\"")}}) {
    const Outcome o = RunProgram(window, args, env);
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_TRUE(o.err.starts_with("orvalen: cannot open a window: ")) << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
    EXPECT_NE(o.err.find(words), std::string::npos) << o.err;
  }
  // A Wayland session whose compositor has gone.
  env["WAYLAND_DISPLAY"] = "/nonexistent/wayland-9";
  const Outcome o = RunProgram(window, {}, env);
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.err.find("no Wayland display at /nonexistent/wayland-9"), std::string::npos) << o.err;
}

// A Chinese terminal in GB18030 and a Latin-1 one, with locales compiled
// for the test (localedef, from Debian's locales): orvalen-cli reads the
// keyword in the terminal's set and writes its lines in it, against a
// sandbox of its own.
TEST(CommandLineTest, TheCliSpeaksTheTerminalsCharacterSet) {
  const test::TempDir locales;
  for (const char* locale : {"zh_CN:GB18030", "en_US:ISO-8859-1"}) {
    const std::string name(locale);
    const std::string input = name.substr(0, name.find(':')), set = name.substr(name.find(':') + 1);
    ChildProcess make("/usr/bin/localedef",
                      {"-i", input, "-f", set, (locales.path() / (input + "." + set)).string()});
    ASSERT_EQ(make.Wait(std::chrono::seconds(120)), 0) << make.Errors();
  }
  ChildProcess sandbox(ORVALEN_SANDBOX_PATH, {"--port", "0"});
  ASSERT_TRUE(test::WaitUntil([&] { return sandbox.Output().find('\n') != std::string::npos; }));
  std::string base = sandbox.Output();  // "listening on http://127.0.0.1:PORT/\n"
  base = base.substr(base.find("http"), base.find('\n') - base.find("http"));
  const std::string config = base + std::string(kConfigPath);
  const auto cli = [&](const std::string& locale, const std::vector<std::string>& args) {
    test::EnvironmentChanges env = kNoDisplay;
    env["LOCPATH"] = locales.path().string();
    env["LC_ALL"] = locale;
    std::vector<std::string> all{"--config", config};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(kPrograms[1], all, env);
  };
  // 手机 as a GB18030 terminal types it, and as it shows it.
  const std::string phone = "\xCA\xD6\xBB\xFA";
  const Outcome tsv = cli("zh_CN.GB18030", {"items", "--keyword", phone});
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  EXPECT_NE(tsv.out.find(phone), std::string::npos) << tsv.out;
  EXPECT_EQ(tsv.out.find("手机"), std::string::npos);
  const Outcome json = cli("zh_CN.GB18030", {"--json", "items", "--keyword", phone});
  EXPECT_NE(json.out.find("手机"), std::string::npos) << json.out;
  const Outcome refused = cli("zh_CN.GB18030", {"items", "--keyword", "\x81"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("not valid text in the locale's character set (GB18030)"),
            std::string::npos)
      << refused.err;
  // Latin-1 has no Chinese: each character is a '?', and nothing else
  // outside ASCII is written.
  const Outcome latin = cli("en_US.ISO-8859-1", {"cats"});
  ASSERT_EQ(latin.status, 0) << latin.err;
  EXPECT_NE(latin.out.find("\t??"), std::string::npos) << latin.out;
  EXPECT_TRUE(std::all_of(latin.out.begin(), latin.out.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

}  // namespace
}  // namespace orvalen
