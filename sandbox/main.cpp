// orvalen-sandbox: a local stand-in for the open platform and the maker's
// configuration server.
//
//   orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]
//                   [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>

#include "sandbox/SandboxServer.h"

namespace {

constexpr const char* kUsage =
    "usage: orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]\n"
    "                       [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...\n"
    "faults: stall drip close http500 redirect malformed endless bomb error-N,\n"
    "        and for :config also sections leaves slow\n";

bool ParseArgs(int argc, char** argv, orvalen::sandbox::SandboxOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    try {
      if (flag == "--host") {
        o.host = value;
      } else if (flag == "--port") {
        o.port = std::stoi(value);
      } else if (flag == "--seed") {
        o.seed = std::stoull(value);
      } else if (flag == "--items") {
        o.items = std::stoul(value);
      } else if (flag == "--app-key") {
        o.app_key = value;
      } else if (flag == "--app-secret") {
        o.app_secret = value;
      } else if (flag == "--fault") {
        const auto fault = orvalen::sandbox::ParseFault(value);
        if (!fault) return false;
        o.faults.push_back(*fault);
      } else {
        return false;
      }
    } catch (const std::exception&) {
      return false;
    }
  }
  return o.port >= 0 && o.port <= 65535 && o.items > 0;
}

}  // namespace

int main(int argc, char** argv) {
  orvalen::sandbox::SandboxOptions options;
  options.log = [](const std::string& line) { std::cerr << line << std::endl; };
  if (!ParseArgs(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
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
  std::atomic<bool> ended{false};
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stop_signals, &signal);
    // Stop() takes effect only once the server runs.
    while (!ended && !sandbox.IsRunning())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sandbox.Stop();
  });
  std::cout << "listening on " << sandbox.base_url() << "/" << std::endl;
  sandbox.Run();
  ended = true;
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the waiter if Run ended otherwise
  stopper.join();
  return 0;
}
