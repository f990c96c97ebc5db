// orvalen-sandbox: a local stand-in for the open platform and the maker's
// configuration server.
//
//   orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]
//                   [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...
//   orvalen-sandbox --help | --version
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <set>
#include <string>
#include <thread>
#include <variant>

#include "config/SiteConfig.h"
#include "sandbox/SandboxServer.h"

namespace {

constexpr const char* kUsage =
    "usage: orvalen-sandbox [--host 127.0.0.1] [--port 8970] [--seed N] [--items N]\n"
    "                       [--app-key K] [--app-secret S] [--fault KIND[:CALL]]...\n"
    "       orvalen-sandbox --help | --version\n"
    "A local stand-in for the open platform and the configuration server. The\n"
    "gateway (/router/rest, GET or POST form) answers v=1.0 in XML and v=2.0 in\n"
    "XML or, with format=json, JSON. Prints\n"
    "'listening on http://HOST:PORT/' when ready (--port 0 takes a free port) and\n"
    "logs one line per request on standard error; SIGINT or SIGTERM stops it.\n"
    "faults: stall drip close http500 redirect malformed endless bomb error-N,\n"
    "        and for :config also sections leaves slow\n";

enum class Action { kServe, kHelp, kVersion };

// Fills `o` from the arguments; a usage error comes back as its message.
std::variant<Action, std::string> ParseArgs(int argc, char** argv,
                                            orvalen::sandbox::SandboxOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--help") return Action::kHelp;
    if (flag == "--version") return Action::kVersion;
    static const std::set<std::string> kFlags{"--host",    "--port",       "--seed", "--items",
                                              "--app-key", "--app-secret", "--fault"};
    if (!kFlags.contains(flag)) return "unknown option " + flag;
    if (i + 1 >= argc) return flag + " needs a value";
    const std::string value = argv[++i];
    const std::string bad = "bad value for " + flag + ": " + value;
    try {
      std::size_t used = 0;
      if (flag == "--host") {
        o.host = value;
      } else if (flag == "--port") {
        o.port = std::stoi(value, &used);
        if (used != value.size() || o.port < 0 || o.port > 65535) return bad;
      } else if (flag == "--seed") {
        o.seed = std::stoull(value, &used);
        if (used != value.size() || value.front() == '-') return bad;
      } else if (flag == "--items") {
        o.items = std::stoul(value, &used);
        if (used != value.size() || value.front() == '-' || o.items == 0) return bad;
      } else if (flag == "--app-key") {
        o.app_key = value;
      } else if (flag == "--app-secret") {
        o.app_secret = value;
      } else {
        const auto fault = orvalen::sandbox::ParseFault(value);
        if (!fault) return bad;
        o.faults.push_back(*fault);
      }
    } catch (const std::exception&) {
      return bad;
    }
  }
  return Action::kServe;
}

}  // namespace

int main(int argc, char** argv) {
  orvalen::sandbox::SandboxOptions options;
  options.log = [](const std::string& line) { std::cerr << line << std::endl; };
  const auto parsed = ParseArgs(argc, argv, options);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "orvalen-sandbox: " << *error << " (see orvalen-sandbox --help)\n";
    return 2;
  }
  if (std::get<Action>(parsed) == Action::kHelp) {
    std::cout << kUsage;
    return 0;
  }
  if (std::get<Action>(parsed) == Action::kVersion) {
    std::cout << "orvalen-sandbox " << orvalen::kVersion << '\n';
    return 0;
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
