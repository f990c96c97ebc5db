#include "app/start/LocalSandbox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "support/ChildProcess.h"
#include "support/TestServer.h"

namespace orvalen {
namespace {

using test::ProcessesWith;

std::string ConfigOn(int port) {
  return "http://127.0.0.1:" + std::to_string(port) + "/cfg";
}

LocalSandboxSettings Settings(const std::string& config, const std::string& builtin) {
  return {.config_url = config,
          .builtin_url = builtin,
          .program = ORVALEN_SANDBOX_PATH,
          .lock_dir = {}};
}

bool Listening(int port) {
  return AcceptsConnections({"127.0.0.1", port});
}

std::vector<pid_t> SandboxesOn(int port) {
  return ProcessesWith({"orvalen-sandbox", std::to_string(port)});
}

TEST(LocalSandboxTest, WhatAlreadyListensIsUsedAndNeverStopped) {
  test::TestServer server;
  const std::string url = server.Url("/cfg");
  {
    const LocalSandbox sandbox(Settings(url, url));
    EXPECT_EQ(sandbox.Started(), 0);
  }
  EXPECT_TRUE(SandboxesOn(server.port()).empty());
  EXPECT_TRUE(Listening(server.port()));
}

TEST(LocalSandboxTest, NotStartedForAnyOtherAddress) {
  const int port = test::UnusedLoopbackPort();
  // The configuration comes from elsewhere: the built-in port stays free.
  const LocalSandbox elsewhere(Settings(ConfigOn(test::UnusedLoopbackPort()), ConfigOn(port)));
  EXPECT_FALSE(elsewhere.Holding());
  EXPECT_FALSE(Listening(port));
  // A built-in address on another machine is never probed or served.
  for (const char* remote : {"http://192.0.2.1:8970/cfg", "https://127.0.0.1:8970/cfg",
                             "http://127.0.0.2:8970/cfg", "not a url"}) {
    const LocalSandbox sandbox(Settings(remote, remote));
    EXPECT_FALSE(sandbox.Holding()) << remote;
    EXPECT_FALSE(LoopbackEndpointOf(remote).has_value()) << remote;
  }
  EXPECT_EQ(LoopbackEndpointOf("http://localhost/x")->port, 80);
  EXPECT_EQ(LoopbackEndpointOf("http://[::1]:81/x")->host, "::1");
}

TEST(LocalSandboxTest, AProgramThatCannotServeLeavesNothingBehind) {
  const int port = test::UnusedLoopbackPort();
  LocalSandboxSettings missing = Settings(ConfigOn(port), ConfigOn(port));
  missing.program = QStringLiteral("/nonexistent/orvalen-sandbox");
  EXPECT_EQ(LocalSandbox(missing).Started(), 0);

  // One that ends without listening, and one that never says it listens,
  // which is stopped at the limit.
  const std::string script = testing::TempDir() + "silent-sandbox";
  { std::ofstream(script) << "#!/bin/sh\nexec sleep 29.125\n"; }
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  for (const char* program : {"/bin/false", script.c_str()}) {
    LocalSandboxSettings silent = Settings(ConfigOn(port), ConfigOn(port));
    silent.program = QString::fromUtf8(program);
    silent.ready_limit = std::chrono::milliseconds(500);
    EXPECT_EQ(LocalSandbox(silent).Started(), 0) << program;
  }
  EXPECT_TRUE(test::WaitUntil([] { return ProcessesWith({"sleep", "29.125"}).empty(); }));
  EXPECT_FALSE(Listening(port));
}

}  // namespace
}  // namespace orvalen

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
