#include "app/start/StopSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace orvalen {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end for the handler; a signal handler has no other way to it.
volatile sig_atomic_t signal_write_fd = -1;

void OnStopSignal(int signal) {
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (signal_write_fd >= 0) (void)!write(signal_write_fd, &byte, 1);
}

}  // namespace

StopSignals::StopSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) return;
  signal_write_fd = fds_[0];
  notifier_ = std::make_unique<QSocketNotifier>(fds_[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    unsigned char byte = 0;
    while (read(fds_[1], &byte, 1) == 1) emit Received(byte);
  });
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int s : kStopSignals) sigaction(s, &action, nullptr);
}

StopSignals::~StopSignals() {
  for (const int s : kStopSignals) signal(s, SIG_DFL);
  signal_write_fd = -1;
  notifier_.reset();
  for (const int fd : fds_) {
    if (fd >= 0) close(fd);
  }
}

}  // namespace orvalen
