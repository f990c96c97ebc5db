#include "sandbox/LockWatch.h"

#include <pthread.h>
#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <csignal>

namespace orvalen::sandbox {
namespace {

void Interrupted(int) {}

void InstallInterruptHandler() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = Interrupted;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the blocked flock returns EINTR
    return sigaction(SIGUSR1, &action, nullptr) == 0;
  }();
  (void)installed;
}

}  // namespace

LockWatch::LockWatch(FileDescriptor file, std::function<void()> on_free)
    : file_(std::move(file)), on_free_(std::move(on_free)) {
  InstallInterruptHandler();
  thread_ = std::thread([this] { Wait(); });
}

LockWatch::~LockWatch() {
  stopping_ = true;
  // A signal that arrives just before the thread enters flock is lost; the
  // next one interrupts the wait.
  while (!ended_) {
    pthread_kill(thread_.native_handle(), SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  thread_.join();
  // A granted lock stays until the process ends, after the server's socket
  // has closed: a window waiting for it must find the port free.
  if (fired_) (void)file_.Release();
}

void LockWatch::Wait() {
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGUSR1);
  pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
  while (!stopping_) {
    if (flock(file_.get(), LOCK_EX) == 0) {
      fired_ = true;
      on_free_();
      break;
    }
    if (errno != EINTR) break;
  }
  ended_ = true;
}

}  // namespace orvalen::sandbox
