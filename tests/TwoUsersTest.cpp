// Two real users of this machine (the accounts orvalen-test-a and
// orvalen-test-b, which scripts/setup makes), each running the window
// program with the same built-in sandbox address: each user's windows use
// that user's sandbox alone, whatever the other user runs or leaves in the
// shared temporary folder. The programs run under setpriv; the test must
// run as root to switch users, and is skipped otherwise.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "config/SiteConfig.h"
#include "platform/ListeningSockets.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

namespace orvalen {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ChildProcess;

struct User {
  std::string name;
  uid_t uid = 0;
  gid_t gid = 0;
};

std::optional<User> Account(const char* name) {
  const passwd* entry = ::getpwnam(name);
  if (entry == nullptr) return std::nullopt;
  return User{name, entry->pw_uid, entry->pw_gid};
}

uid_t OwnerOf(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("Uid:")) return static_cast<uid_t>(std::stoul(line.substr(4)));
  }
  return static_cast<uid_t>(-1);
}

// The window's first results came back from the platform.
bool Searched(const ChildProcess& window) {
  return window.Errors().find("first results data back") != std::string::npos;
}

// Whether another account may run `program`: it and every folder above it
// open to others (a checkout inside a private folder, such as one made by
// mktemp -d, is not).
bool OthersCanRun(const fs::path& program) {
  for (fs::path p = program; !p.empty(); p = p.parent_path()) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
    if (p == p.root_path()) break;
  }
  return true;
}

class TwoUsersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "switching users needs root";
    a_ = Account("orvalen-test-a");
    b_ = Account("orvalen-test-b");
    if (!a_ || !b_) GTEST_SKIP() << "no accounts orvalen-test-a and -b (scripts/setup makes them)";
    for (const char* program : {ORVALEN_DRIVER_PATH, ORVALEN_WINDOW_PATH, ORVALEN_SANDBOX_PATH}) {
      if (!OthersCanRun(program)) {
        GTEST_SKIP() << program
                     << " is in a folder closed to other users; the accounts cannot run it";
      }
    }
    fs::permissions(root_.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directory(Tmp());
    fs::permissions(Tmp(), fs::perms::all | fs::perms::sticky_bit);
    for (const User& user : {*a_, *b_}) {
      for (const fs::path& dir : {Runtime(user), Home(user)}) {
        fs::create_directory(dir);
        ASSERT_EQ(::chown(dir.c_str(), user.uid, user.gid), 0);
        fs::permissions(dir, fs::perms::owner_all);
      }
    }
    builtin_ =
        "http://127.0.0.1:" + std::to_string(default_port_.port()) + "/" + std::string(kConfigPath);
  }

  fs::path Tmp() const { return root_.path() / "tmp"; }
  fs::path Runtime(const User& u) const { return root_.path() / ("run-" + u.name); }
  fs::path Home(const User& u) const { return root_.path() / ("home-" + u.name); }
  std::string LockOf(const User& u) const { return (Runtime(u) / "orvalen/sandbox.lock").string(); }
  std::vector<pid_t> SandboxesOf(const User& u) const {
    return test::ProcessesWith({"orvalen-sandbox", "--while-locked", LockOf(u)});
  }

  // The window program as `user`, in that user's session; `shell` runs
  // first in the same shell (a umask, say).
  std::unique_ptr<ChildProcess> Window(const User& user, const std::string& shell = "",
                                       bool with_runtime_dir = true) const {
    test::EnvironmentChanges env{{"ORVALEN_TEST_BUILTIN_URL", builtin_},
                                 {"HOME", Home(user).string()},
                                 {"TMPDIR", Tmp().string()},
                                 {"QT_LOGGING_RULES", "orvalen.timing.info=true"},
                                 {"XDG_RUNTIME_DIR", std::nullopt}};
    if (with_runtime_dir) env["XDG_RUNTIME_DIR"] = Runtime(user).string();
    return std::make_unique<ChildProcess>(
        "/usr/bin/setpriv",
        std::vector<std::string>{"--reuid=" + user.name, "--regid=" + std::to_string(user.gid),
                                 "--init-groups", "--", "/bin/sh", "-c", shell + "\nexec \"$0\"",
                                 ORVALEN_DRIVER_PATH},
        env);
  }

  test::TempDir root_;
  // The built-in port, with a server of root's on it until a test stops it:
  // another user's, for both accounts.
  std::optional<test::TestServer> default_server_{std::in_place};
  test::TestServer& default_port_ = *default_server_;
  std::optional<User> a_, b_;
  std::string builtin_;
};

// Someone else listens on the built-in port first: the user's window
// sends it nothing (no configuration, no badge picture), and gets its
// results from the user's own sandbox on a port of its own.
TEST_F(TwoUsersTest, AnotherUsersServerOnTheBuiltInPortIsNeverUsed) {
  auto window = Window(*a_);
  ASSERT_TRUE(test::WaitUntil([&] { return Searched(*window); }, 60s)) << window->Errors();
  ASSERT_TRUE(test::WaitUntil(
      [&] { return window->Errors().find("first results shown") != std::string::npos; }, 60s));
  EXPECT_TRUE(default_port_.Requests().empty()) << default_port_.Requests().front().target;
  const std::vector<pid_t> sandboxes = SandboxesOf(*a_);
  ASSERT_EQ(sandboxes.size(), 1u);
  EXPECT_EQ(OwnerOf(sandboxes.front()), a_->uid);
  window->Signal(SIGTERM);
  EXPECT_EQ(window->Wait(30s), 0);
  EXPECT_TRUE(test::WaitUntil([&] { return SandboxesOf(*a_).empty(); }));
}

// With the port free, the first user's sandbox takes it; the second's is
// its own elsewhere, even with the first's umask at 077. Each ends with its
// own user's last window, and not before.
TEST_F(TwoUsersTest, EachUsersWindowsUseAndEndTheirOwnSandbox) {
  const int port = default_port_.port();
  default_server_.reset();
  auto a_window = Window(*a_, "umask 077");
  ASSERT_TRUE(test::WaitUntil([&] { return Searched(*a_window); }, 60s)) << a_window->Errors();
  auto b_window = Window(*b_);
  auto b_second = Window(*b_);
  ASSERT_TRUE(test::WaitUntil([&] { return Searched(*b_window) && Searched(*b_second); }, 60s))
      << b_window->Errors();
  ASSERT_EQ(SandboxesOf(*a_).size(), 1u);
  ASSERT_EQ(SandboxesOf(*b_).size(), 1u);
  const pid_t a_sandbox = SandboxesOf(*a_).front(), b_sandbox = SandboxesOf(*b_).front();
  EXPECT_EQ(OwnerOf(a_sandbox), a_->uid);
  EXPECT_EQ(OwnerOf(b_sandbox), b_->uid);
  EXPECT_EQ(ListenerOwners(port), std::vector<uid_t>{a_->uid});

  a_window->Signal(SIGKILL);
  a_window->Wait(30s);
  EXPECT_TRUE(test::WaitUntil([&] { return SandboxesOf(*a_).empty(); }));
  b_window->Signal(SIGTERM);
  EXPECT_EQ(b_window->Wait(30s), 0);
  EXPECT_EQ(SandboxesOf(*b_), std::vector<pid_t>{b_sandbox});
  // A window of A's now starts a new sandbox of A's, on the freed port.
  auto a_again = Window(*a_);
  ASSERT_TRUE(test::WaitUntil([&] { return Searched(*a_again); }, 60s)) << a_again->Errors();
  EXPECT_EQ(ListenerOwners(port), std::vector<uid_t>{a_->uid});
  b_second->Signal(SIGTERM);
  EXPECT_EQ(b_second->Wait(30s), 0);
  EXPECT_TRUE(test::WaitUntil([&] { return SandboxesOf(*b_).empty(); }));
}

// Without a session's runtime folder, the shared temporary folder is used;
// what the other user put under the user's name there (a named pipe, a
// link to their own folder) neither hangs the window nor is followed.
TEST_F(TwoUsersTest, WhatAnotherUserLeavesInTheTemporaryFolderIsNotUsed) {
  const fs::path mine = Tmp() / ("orvalen-" + std::to_string(a_->uid));
  const fs::path theirs = Tmp() / "b-folder";
  fs::create_directory(theirs);
  ASSERT_EQ(::chown(theirs.c_str(), b_->uid, b_->gid), 0);
  for (const bool pipe : {true, false}) {
    fs::remove(mine);
    if (pipe) {
      ASSERT_EQ(::mkfifo(mine.c_str(), 0666), 0);
    } else {
      fs::create_directory_symlink(theirs, mine);
    }
    ASSERT_EQ(::lchown(mine.c_str(), b_->uid, b_->gid), 0);
    auto window = Window(*a_, "", false);
    ASSERT_TRUE(test::WaitUntil([&] { return Searched(*window); }, 60s)) << window->Errors();
    EXPECT_NE(window->Errors().find(mine.string() + " is not a folder"), std::string::npos)
        << window->Errors();
    EXPECT_TRUE(fs::is_empty(theirs));
    window->Signal(SIGTERM);
    EXPECT_EQ(window->Wait(30s), 0);
  }
}

// A folder of the user's own that the user cannot write to: the reason
// given is the system's, for that file.
TEST_F(TwoUsersTest, AFailureNamesItsOwnCause) {
  const fs::path folder = Runtime(*a_) / "orvalen";
  fs::create_directory(folder);
  ASSERT_EQ(::chown(folder.c_str(), a_->uid, a_->gid), 0);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  auto window = Window(*a_);
  ASSERT_TRUE(test::WaitUntil(
      [&] { return window->Errors().find("configuration: ") != std::string::npos; }, 60s))
      << window->Errors();
  EXPECT_NE(window->Errors().find("cannot open " + (folder / "start.lock").string() +
                                  ": Permission denied"),
            std::string::npos)
      << window->Errors();
  window->Signal(SIGTERM);
  EXPECT_EQ(window->Wait(30s), 0);
}

}  // namespace
}  // namespace orvalen
