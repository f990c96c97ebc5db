// The user's sandbox as the window finds or starts it, with the user's
// runtime folder ($XDG_RUNTIME_DIR) one of the test's own; and the folder
// itself where the session gives none, or someone else holds its name.
#include "app/start/LocalSandbox.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "app/form/core/SiteAddresses.h"
#include "app/start/SandboxLaunch.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

namespace orvalen {
namespace {

namespace fs = std::filesystem;
using test::ProcessesWith;

std::string ConfigOn(int port) {
  return "http://127.0.0.1:" + std::to_string(port) + "/cfg";
}

LocalSandboxSettings Settings(const std::string& config, const std::string& builtin) {
  return {.config_url = config, .builtin_url = builtin, .program = ORVALEN_SANDBOX_PATH};
}

bool Listening(int port) {
  return AcceptsConnections({"127.0.0.1", port});
}

std::vector<pid_t> SandboxesOn(int port) {
  return ProcessesWith({"orvalen-sandbox", std::to_string(port)});
}

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class LocalSandboxTest : public ::testing::Test {
 protected:
  LocalSandboxTest() { ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
  ~LocalSandboxTest() override { ::unsetenv("XDG_RUNTIME_DIR"); }
  fs::path Folder() const { return runtime.path() / "orvalen"; }

  test::TempDir runtime;
};

// The built-in port is free: the sandbox starts there, and the next window
// finds it through the recorded port; it ends after the last of them.
TEST_F(LocalSandboxTest, StartedOnTheBuiltInPortAndSharedThroughTheUsersFolder) {
  const int port = test::UnusedLoopbackPort();
  pid_t started = 0;
  {
    const LocalSandbox first(Settings(ConfigOn(port), ConfigOn(port)));
    started = first.Started();
    ASSERT_GT(started, 0);
    EXPECT_EQ(first.port(), port);
    EXPECT_EQ(first.ConfigUrl(), ConfigOn(port));
    const LocalSandbox second(Settings(ConfigOn(port), ConfigOn(port)));
    EXPECT_EQ(second.Started(), 0);
    EXPECT_TRUE(second.Holding());
    EXPECT_EQ(SandboxesOn(port), std::vector<pid_t>{started});
    // Nothing of it in a folder other users can write to.
    EXPECT_EQ(first.Folder(), Folder().string());
    EXPECT_EQ(ModeOf(Folder()), 0700u);
    for (const char* file : {"start.lock", "sandbox.lock", "sandbox.port"}) {
      EXPECT_EQ(ModeOf(Folder() / file), 0600u) << file;
    }
    std::string recorded;
    std::ifstream(Folder() / "sandbox.port") >> recorded;
    EXPECT_EQ(recorded, std::to_string(port));
  }
  EXPECT_TRUE(test::WaitUntil([&] { return SandboxesOn(port).empty() && !Listening(port); }));
}

TEST_F(LocalSandboxTest, WhatThisUserAlreadyRunsThereIsUsedAndNeverStopped) {
  test::TestServer server;
  const std::string url = server.Url("/cfg");
  {
    const LocalSandbox sandbox(Settings(url, url));
    EXPECT_EQ(sandbox.Started(), 0);
    EXPECT_EQ(sandbox.port(), server.port());
    EXPECT_EQ(sandbox.ConfigUrl(), url);
  }
  EXPECT_TRUE(SandboxesOn(server.port()).empty());
  EXPECT_TRUE(Listening(server.port()));
}

TEST_F(LocalSandboxTest, NotStartedForAnyOtherAddress) {
  const int port = test::UnusedLoopbackPort();
  // The configuration comes from elsewhere: the built-in port stays free.
  const std::string elsewhere_url = ConfigOn(test::UnusedLoopbackPort());
  const LocalSandbox elsewhere(Settings(elsewhere_url, ConfigOn(port)));
  EXPECT_FALSE(elsewhere.Holding());
  EXPECT_EQ(elsewhere.ConfigUrl(), elsewhere_url);
  EXPECT_FALSE(Listening(port));
  // A built-in address on another machine is never probed or served.
  for (const char* remote : {"http://192.0.2.1:8970/cfg", "https://127.0.0.1:8970/cfg",
                             "http://127.0.0.2:8970/cfg", "not a url"}) {
    const LocalSandbox sandbox(Settings(remote, remote));
    EXPECT_FALSE(sandbox.Holding()) << remote;
    EXPECT_FALSE(LoopbackEndpointOf(remote).has_value()) << remote;
  }
  EXPECT_FALSE(fs::exists(Folder()));
  EXPECT_EQ(LoopbackEndpointOf("http://localhost/x")->port, 80);
  EXPECT_EQ(LoopbackEndpointOf("http://[::1]:81/x")->host, "::1");
}

TEST_F(LocalSandboxTest, AProgramThatCannotServeLeavesNothingBehind) {
  const int port = test::UnusedLoopbackPort();
  LocalSandboxSettings missing = Settings(ConfigOn(port), ConfigOn(port));
  missing.program = QStringLiteral("/nonexistent/orvalen-sandbox");
  EXPECT_EQ(LocalSandbox(missing).Started(), 0);

  // One that ends without listening, and one that never says it listens,
  // which is stopped at the limit.
  const std::string script = (runtime.path() / "silent-sandbox").string();
  { std::ofstream(script) << "#!/bin/sh\nexec sleep 29.125\n"; }
  fs::permissions(script, fs::perms::owner_all);
  for (const char* program : {"/bin/false", script.c_str()}) {
    LocalSandboxSettings silent = Settings(ConfigOn(port), ConfigOn(port));
    silent.program = QString::fromUtf8(program);
    silent.ready_limit = std::chrono::milliseconds(500);
    const LocalSandbox sandbox(silent);
    EXPECT_EQ(sandbox.Started(), 0) << program;
    EXPECT_EQ(sandbox.ConfigUrl(), ConfigOn(port));
  }
  EXPECT_TRUE(test::WaitUntil([] { return ProcessesWith({"sleep", "29.125"}).empty(); }));
  EXPECT_FALSE(Listening(port));
}

// Where the session gives no runtime folder, or one that is not private,
// "orvalen-UID" in the temporary folder; where that name is not a private
// folder of the user's, one of this process alone, gone with it.
TEST(RuntimeDirTest, TheUsersOwnFolderOrOneOfThisProcessAlone) {
  test::TempDir runtime, temp;
  std::vector<std::string> said;
  const auto warn = [&](const std::string& line) { said.push_back(line); };
  const std::string shared = (temp.path() / ("orvalen-" + std::to_string(::geteuid()))).string();
  EXPECT_EQ(RuntimeDir::Choose(runtime.path().c_str(), temp.path(), warn).path(),
            (runtime.path() / "orvalen").string());
  EXPECT_TRUE(said.empty());
  for (const char* session : {static_cast<const char*>(nullptr), "relative/dir"}) {
    const RuntimeDir dir = RuntimeDir::Choose(session, temp.path(), warn);
    EXPECT_EQ(dir.path(), shared);
    EXPECT_TRUE(dir.shared());
    EXPECT_EQ(ModeOf(shared), 0700u);
  }
  fs::permissions(runtime.path(), fs::perms::all);  // writable by anyone
  EXPECT_EQ(RuntimeDir::Choose(runtime.path().c_str(), temp.path(), warn).path(), shared);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_NE(said.front().find("open to other users"), std::string::npos) << said.front();

  // Someone else's link, or a folder others may enter, is never used.
  fs::remove(shared);
  fs::create_directory(temp.path() / "elsewhere");
  fs::create_directory_symlink(temp.path() / "elsewhere", shared);
  std::string own;
  {
    const RuntimeDir dir = RuntimeDir::Choose(nullptr, temp.path(), warn);
    own = dir.path();
    EXPECT_FALSE(dir.shared());
    EXPECT_TRUE(own.starts_with(shared + "-")) << own;
    EXPECT_EQ(ModeOf(own), 0700u);
    EXPECT_NE(said.back().find("is not a folder"), std::string::npos) << said.back();
  }
  EXPECT_FALSE(fs::exists(own));
  EXPECT_TRUE(fs::is_empty(temp.path() / "elsewhere"));
  fs::remove(shared);
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::owner_all | fs::perms::group_exec);
  EXPECT_FALSE(RuntimeDir::Choose(nullptr, temp.path(), warn).shared());
  EXPECT_NE(said.back().find("open to other users"), std::string::npos) << said.back();
}

// The window's other built-in addresses move with the sandbox's port, and
// only those on this machine and that port.
TEST(SiteAddressesTest, AddressesOnTheSandboxesPortFollowIt) {
  EXPECT_EQ(MoveLoopbackPort("http://127.0.0.1:8970/newrank/", 8970, 41234),
            "http://127.0.0.1:41234/newrank/");
  EXPECT_EQ(MoveLoopbackPort("http://localhost:8970/", 8970, 41234), "http://localhost:41234/");
  EXPECT_EQ(MoveLoopbackPort("127.0.0.1:8970", 8970, 41234), "127.0.0.1:41234");
  EXPECT_EQ(MoveLoopbackPort("http://[::1]:8970", 8970, 41234), "http://[::1]:41234");
  for (const char* kept :
       {"http://example.com:8970/", "http://127.0.0.1:18970/", "http://127.0.0.1/",
        "https://img.example.com/newrank/", "http://127.0.0.1:89701/"}) {
    EXPECT_EQ(MoveLoopbackPort(kept, 8970, 41234), kept);
  }
  const SiteAddresses moved = SiteAddresses::BuiltIn().OnPort(8970, 41234);
  const SiteAddresses built_in = SiteAddresses::BuiltIn();
  EXPECT_EQ(moved.site_root, MoveLoopbackPort(built_in.site_root, 8970, 41234));
  EXPECT_EQ(moved.badge_base, MoveLoopbackPort(built_in.badge_base, 8970, 41234));
  EXPECT_EQ(moved.footer_host2, MoveLoopbackPort(built_in.footer_host2, 8970, 41234));
  // What the sandbox says once it listens, as the window reads it.
  EXPECT_EQ(ListeningPort("listening on http://127.0.0.1:41234/\n"), 41234);
  EXPECT_EQ(ListeningPort("listening on http://[::1]:8970/\n"), 8970);
  EXPECT_EQ(ListeningPort("listening on http://127.0.0.1:41234/"), 0);  // not whole yet
  EXPECT_EQ(ListeningPort("cannot listen on 127.0.0.1:80\n"), 0);
}

}  // namespace
}  // namespace orvalen

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
