// The window program run as a process, offscreen: which configuration it
// loads, and the sandbox it starts on demand and never leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>

#include "app/start/LocalSandbox.h"
#include "config/SiteConfig.h"
#include "platform/CurlHttpClient.h"
#include "sandbox/SandboxServer.h"
#include "support/ChildProcess.h"
#include "support/SandboxRunner.h"
#include "support/TempDir.h"

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

// The processes that hold a lock on `file`, from the kernel's list (a
// request still waiting, such as the sandbox's, is listed with "->").
std::vector<pid_t> LockHolders(const std::string& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) return {};
  std::ifstream locks("/proc/locks");
  std::vector<pid_t> pids;
  for (std::string line; std::getline(locks, line);) {
    // "1: FLOCK  ADVISORY  READ  1234 08:01:5678 0 EOF"
    std::istringstream fields(line);
    std::string number, kind, mode, access, device;
    pid_t pid = 0;
    fields >> number >> kind >> mode >> access >> pid >> device;
    if (kind == "FLOCK" && device.ends_with(":" + std::to_string(st.st_ino))) pids.push_back(pid);
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

// The built-in address is a free port here; the driver is the window program
// with that address built in. Windows share the sandbox the first one
// started; whichever ends, even by SIGKILL, the others keep it, and it ends
// after the last one.
TEST_F(WindowProgramTest, WindowsShareTheSandboxAndTheLastOneEndsIt) {
  const int port = test::UnusedLoopbackPort();
  const std::string builtin = "http://127.0.0.1:" + std::to_string(port) + "/" + kConfigPath.data();
  const test::TempDir runtime;
  const std::string lock = (runtime.path() / "orvalen" / "sandbox.lock").string();
  const test::EnvironmentChanges env{{"ORVALEN_TEST_BUILTIN_URL", builtin},
                                     {"XDG_RUNTIME_DIR", runtime.path().string()}};
  ChildProcess first(ORVALEN_DRIVER_PATH, {}, env);
  ASSERT_TRUE(WaitUntil([&] { return SandboxesOn(port).size() == 1 && Listening(port); }))
      << first.Errors();
  const pid_t sandbox_pid = SandboxesOn(port).front();
  ChildProcess second(ORVALEN_DRIVER_PATH, {}, env);
  ChildProcess third(ORVALEN_DRIVER_PATH, {}, env);
  std::vector<pid_t> windows{first.pid(), second.pid(), third.pid()};
  std::sort(windows.begin(), windows.end());
  ASSERT_TRUE(WaitUntil([&] { return LockHolders(lock) == windows; }));

  first.Signal(SIGKILL);  // the one that started it
  first.Wait(std::chrono::seconds(30));
  Terminate(third);
  EXPECT_EQ(SandboxesOn(port), std::vector<pid_t>{sandbox_pid});
  EXPECT_TRUE(Listening(port));
  HttpResult config = CurlHttpClient().Get(builtin);
  EXPECT_TRUE(config.ok() && config.body.find("app_key") != std::string::npos);

  Terminate(second);
  EXPECT_TRUE(WaitUntil([&] { return SandboxesOn(port).empty() && !Listening(port); }));
  // The next window starts a new one.
  ChildProcess next(ORVALEN_DRIVER_PATH, {}, env);
  ASSERT_TRUE(WaitUntil([&] { return SandboxesOn(port).size() == 1 && Listening(port); }));
  EXPECT_NE(SandboxesOn(port).front(), sandbox_pid);
  EXPECT_TRUE(CurlHttpClient().Get(builtin).ok());
  Terminate(next);
}

}  // namespace
}  // namespace orvalen
