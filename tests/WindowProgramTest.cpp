// The window program run as a process, offscreen: which configuration it
// loads, and the sandbox it starts on demand and never leaves behind.
#include <gtest/gtest.h>

#include <csignal>

#include "app/LocalSandbox.h"
#include "config/SiteConfig.h"
#include "sandbox/SandboxServer.h"
#include "support/ChildProcess.h"
#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

using test::ChildProcess;
using test::ProcessesWith;
using test::WaitUntil;

bool Listening(int port) {
  return AcceptsConnections({"127.0.0.1", port});
}

std::vector<pid_t> SandboxesOn(int port) {
  return ProcessesWith({"orvalen-sandbox", "--port", std::to_string(port)});
}

// A sandbox in this process that records what it is asked.
class WindowProgramTest : public ::testing::Test {
 protected:
  std::string ConfigUrl() { return sandbox.server().config_url(); }
  // True once the window has loaded a configuration and run its first search.
  bool SearchedWithConfig() const {
    return log.Contains(std::string(kConfigPath)) && log.Contains("taobao.taobaoke.items.get");
  }

  test::LogCapture log;
  test::SandboxRunner sandbox{3000, &log};
};

// Ends the window like the desktop does at log-out, and expects a clean exit.
void Terminate(ChildProcess& window) {
  window.Signal(SIGTERM);
  EXPECT_EQ(window.Wait(std::chrono::seconds(30)), 0) << window.Errors();
}

TEST_F(WindowProgramTest, ConfigurationFromTheFlagOrTheEnvironment) {
  {
    ChildProcess window(ORVALEN_WINDOW_PATH, {"--config", ConfigUrl()});
    EXPECT_TRUE(WaitUntil([&] { return SearchedWithConfig(); })) << window.Errors();
    Terminate(window);
  }
  {
    ChildProcess window(ORVALEN_WINDOW_PATH, {}, {{"ORVALEN_CONFIG_URL", ConfigUrl()}});
    EXPECT_TRUE(WaitUntil([&] { return log.Count(std::string(kConfigPath)) == 2; }));
    Terminate(window);
  }
  // The flag wins over the variable.
  ChildProcess window(ORVALEN_WINDOW_PATH, {"--config", ConfigUrl()},
                      {{"ORVALEN_CONFIG_URL", sandbox.server().base_url() + "/elsewhere"}});
  EXPECT_TRUE(WaitUntil([&] { return log.Count(std::string(kConfigPath)) == 3; }));
  Terminate(window);
  EXPECT_FALSE(log.Contains("/elsewhere"));
}

// The built-in address is a free port here; the driver is the window program
// with that address built in.
TEST_F(WindowProgramTest, SandboxStartedOnDemandAndStoppedOnSigterm) {
  const int port = test::UnusedLoopbackPort();
  const std::string builtin = "http://127.0.0.1:" + std::to_string(port) + "/" + kConfigPath.data();
  ChildProcess window(ORVALEN_DRIVER_PATH, {}, {{"ORVALEN_TEST_BUILTIN_URL", builtin}});
  ASSERT_TRUE(WaitUntil([&] { return SandboxesOn(port).size() == 1 && Listening(port); }))
      << window.Errors();
  Terminate(window);
  EXPECT_TRUE(SandboxesOn(port).empty());
  EXPECT_FALSE(Listening(port));
}

TEST_F(WindowProgramTest, SandboxEndsEvenWhenTheWindowIsKilled) {
  const int port = test::UnusedLoopbackPort();
  const std::string builtin = "http://127.0.0.1:" + std::to_string(port) + "/" + kConfigPath.data();
  ChildProcess window(ORVALEN_DRIVER_PATH, {}, {{"ORVALEN_TEST_BUILTIN_URL", builtin}});
  ASSERT_TRUE(WaitUntil([&] { return SandboxesOn(port).size() == 1; })) << window.Errors();
  window.Signal(SIGKILL);
  window.Wait(std::chrono::seconds(30));
  EXPECT_TRUE(WaitUntil([&] { return SandboxesOn(port).empty() && !Listening(port); }));
}

TEST_F(WindowProgramTest, NoSandboxWhenOneListensOrTheAddressIsAnother) {
  // Something already listens on the built-in address: it is used as it is.
  ChildProcess window(ORVALEN_DRIVER_PATH, {}, {{"ORVALEN_TEST_BUILTIN_URL", ConfigUrl()}});
  EXPECT_TRUE(WaitUntil([&] { return SearchedWithConfig(); })) << window.Errors();
  EXPECT_TRUE(SandboxesOn(sandbox.server().port()).empty());
  Terminate(window);

  // The configuration comes from elsewhere: the free built-in port stays free.
  const int port = test::UnusedLoopbackPort();
  const std::string builtin = "http://127.0.0.1:" + std::to_string(port) + "/" + kConfigPath.data();
  ChildProcess other(ORVALEN_DRIVER_PATH, {"--config", ConfigUrl()},
                     {{"ORVALEN_TEST_BUILTIN_URL", builtin}});
  EXPECT_TRUE(WaitUntil([&] { return log.Count(std::string(kConfigPath)) == 2; }));
  EXPECT_TRUE(SandboxesOn(port).empty());
  EXPECT_FALSE(Listening(port));
  Terminate(other);
}

}  // namespace
}  // namespace orvalen
