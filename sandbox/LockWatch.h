// LockWatch: calls `on_free` once no other process holds a lock on a file,
// from a thread of its own that ends with the object.
//
//   SandboxServer sandbox(options);
//   LockWatch watch(std::move(file), [&] { sandbox.Stop(); });
//   sandbox.Run();   // returns on a signal, or once the watch has fired
//   // ~LockWatch ends and joins its thread before `sandbox` goes
//
// The thread waits in flock(LOCK_EX); once granted, the lock is kept until
// the process ends (the descriptor is left open), so that whoever waits for
// a shared lock next finds the watched server's socket closed. To end the wait early, the
// destructor interrupts it with SIGUSR1, for which the first LockWatch installs a handler that does
// nothing (without SA_RESTART, so flock returns EINTR).
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "platform/FileDescriptor.h"

namespace orvalen::sandbox {

class LockWatch {
 public:
  LockWatch(FileDescriptor file, std::function<void()> on_free);
  ~LockWatch();
  LockWatch(const LockWatch&) = delete;
  LockWatch& operator=(const LockWatch&) = delete;

  // True once the lock was granted (and `on_free` called).
  bool fired() const { return fired_; }

 private:
  void Wait();

  FileDescriptor file_;
  std::function<void()> on_free_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> ended_{false};
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

}  // namespace orvalen::sandbox
