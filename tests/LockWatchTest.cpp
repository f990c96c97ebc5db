// The sandbox's watch on its windows' lock file: in-process, and in the
// orvalen-sandbox program as the window starts it.
#include "sandbox/LockWatch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <atomic>
#include <csignal>

#include "platform/PrivateFiles.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvalen {
namespace {

using namespace std::chrono_literals;

// A window's hold on the file: a shared lock on a description of its own.
FileDescriptor SharedHold(const std::string& file) {
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600));
  EXPECT_EQ(flock(fd.get(), LOCK_SH), 0);
  return fd;
}

class LockWatchTest : public ::testing::Test {
 protected:
  std::string File() const { return (dir.path() / "sandbox.lock").string(); }
  FileDescriptor Watched() const { return OpenPrivateFile(File(), O_RDONLY, true).fd; }

  test::TempDir dir;
};

// It fires once the last holder lets go, and keeps the lock from then on,
// even after the watch is gone: the next holder waits for the process's end.
TEST_F(LockWatchTest, FiresWhenTheLastHolderGoesAndKeepsTheLock) {
  FileDescriptor first = SharedHold(File());
  FileDescriptor second = SharedHold(File());
  std::atomic<int> fired = 0;
  {
    sandbox::LockWatch watch(Watched(), [&] { ++fired; });
    first.Reset();
    second.Reset();
    ASSERT_TRUE(test::WaitUntil([&] { return fired == 1; }, 10s));
    EXPECT_TRUE(watch.fired());
  }
  const FileDescriptor next(::open(File().c_str(), O_RDONLY | O_CLOEXEC));
  EXPECT_NE(flock(next.get(), LOCK_SH | LOCK_NB), 0);
  EXPECT_EQ(errno, EWOULDBLOCK);
}

// Ended while it waits: its thread is joined, and it never fires.
TEST_F(LockWatchTest, EndsWithItsOwnerWhileTheFileIsHeld) {
  const FileDescriptor held = SharedHold(File());
  std::atomic<int> fired = 0;
  for (int i = 0; i < 20; ++i) {
    sandbox::LockWatch watch(Watched(), [&] { ++fired; });
  }
  EXPECT_EQ(fired, 0);
  const FileDescriptor other(::open(File().c_str(), O_RDONLY | O_CLOEXEC));
  EXPECT_EQ(flock(other.get(), LOCK_SH | LOCK_NB), 0);  // no watch kept a lock
}

// The program: it stops once its windows have gone, on SIGTERM while it
// still watches, and refuses at once what is not a regular file.
TEST_F(LockWatchTest, TheSandboxProgramStopsWithItsWindows) {
  for (const bool by_signal : {false, true}) {
    FileDescriptor window = SharedHold(File());
    test::ChildProcess sandbox(ORVALEN_SANDBOX_PATH, {"--port", "0", "--while-locked", File()});
    ASSERT_TRUE(test::WaitUntil([&] { return sandbox.Output().find('\n') != std::string::npos; }))
        << sandbox.Errors();
    if (by_signal) {
      sandbox.Signal(SIGTERM);
    } else {
      window.Reset();
    }
    EXPECT_EQ(sandbox.Wait(30s), 0) << sandbox.Errors();
  }
  const std::string pipe = (dir.path() / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  test::ChildProcess refused(ORVALEN_SANDBOX_PATH, {"--port", "0", "--while-locked", pipe});
  EXPECT_EQ(refused.Wait(30s), 1);
  EXPECT_EQ(refused.Errors(),
            "orvalen-sandbox: --while-locked: " + pipe + " is not a regular file\n");
  EXPECT_EQ(refused.Output(), "");
}

}  // namespace
}  // namespace orvalen
