// orvalen-sandbox: a local stand-in for the open platform and the maker's
// configuration server.
//
//   orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]
//                   [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...
//                   [--while-locked FILE]
//   orvalen-sandbox --help | --version
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "sandbox/SandboxArgs.h"
#include "sandbox/SandboxServer.h"

namespace {

// Every connection holds a descriptor: take all the system allows
// (Debian's default soft limit is 1,024).
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

// Stops `sandbox` once this process can lock `file` exclusively: no one
// else holds it. The lock is kept until the process ends, so that whoever
// waits for a shared lock next finds the port free.
void StopWhenUnlocked(orvalen::sandbox::SandboxServer& sandbox, const std::string& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    std::cerr << "orvalen-sandbox: cannot watch " << file << ": " << std::strerror(errno) << "\n";
    return;
  }
  std::thread([&sandbox, fd] {
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    sandbox.Stop();
  }).detach();
}

}  // namespace

int main(int argc, char** argv) {
  using orvalen::sandbox::SandboxArgs;
  SandboxArgs args = orvalen::sandbox::ParseSandboxArgs(argc, argv);
  switch (args.action) {
    case SandboxArgs::Action::kUsageError:
      std::cerr << "orvalen-sandbox: " << args.text << " (see orvalen-sandbox --help)\n";
      return 2;
    case SandboxArgs::Action::kHelp:
    case SandboxArgs::Action::kVersion:
      std::cout << args.text << '\n';
      return 0;
    case SandboxArgs::Action::kServe:
      break;
  }
  orvalen::sandbox::SandboxOptions& options = args.options;
  options.log = [](const std::string& line) { std::cerr << line << std::endl; };
  RaiseDescriptorLimit();
  // Whoever started it may stop reading its output.
  std::signal(SIGPIPE, SIG_IGN);
  // Signals are taken by one thread with sigwait, which stops the server.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  orvalen::sandbox::SandboxServer sandbox(options);
  if (!sandbox.Bind()) {
    std::cerr << "orvalen-sandbox: cannot listen on " << options.host << ":" << options.port
              << "\n";
    return 1;
  }
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stop_signals, &signal);
    sandbox.Stop();  // also before Run(), which then returns at once
  });
  if (!args.while_locked.empty()) StopWhenUnlocked(sandbox, args.while_locked);
  std::cout << "listening on " << sandbox.listen_url() << "/" << std::endl;
  sandbox.Run();
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the waiter if Run ended otherwise
  stopper.join();
  return 0;
}
