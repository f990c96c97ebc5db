// orvalen-sandbox: a local stand-in for the open platform and the maker's
// configuration server.
//
//   orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]
//                   [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...
//                   [--while-locked FILE]
//   orvalen-sandbox --help | --version
#include <fcntl.h>
#include <sys/resource.h>

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "platform/PrivateFiles.h"
#include "sandbox/LockWatch.h"
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

  // Opened first: a sandbox that cannot watch would outlive its windows.
  orvalen::OpenedFile watched;
  if (!args.while_locked.empty()) {
    watched = orvalen::OpenPrivateFile(args.while_locked, O_RDONLY, true);
    if (!watched) {
      std::cerr << "orvalen-sandbox: --while-locked: " << watched.error << "\n";
      return 1;
    }
  }
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
  // Ends, and joins its thread, before `sandbox` goes.
  std::optional<orvalen::sandbox::LockWatch> watch;
  if (watched) watch.emplace(std::move(watched.fd), [&sandbox] { sandbox.Stop(); });
  std::cout << "listening on " << sandbox.listen_url() << "/" << std::endl;
  sandbox.Run();
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the waiter if Run ended otherwise
  stopper.join();
  return 0;
}
