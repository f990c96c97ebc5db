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
    "                       [--while-locked FILE]\n"
    "       orvalen-sandbox --help | --version\n"
    "A local stand-in for the open platform and the configuration server. The\n"
    "gateway (/router/rest, GET or POST form) answers v=1.0 in XML and v=2.0 in\n"
    "XML or, with format=json, JSON. Prints\n"
    "'listening on http://HOST:PORT/' when ready (--port 0 takes a free port) and\n"
    "logs one line per request on standard error; SIGINT or SIGTERM stops it at\n"
    "once. With --while-locked it also stops once no process holds a lock on\n"
    "FILE (the windows that share it hold shared locks).\n"
    "faults: stall drip close http500 redirect malformed endless bomb error-N\n"
    "        shapes (click URLs without path, with :80, dot segments, backslashes,\n"
    "        escapes, blanks, raw non-ASCII or |{}^, long https, short),\n"
    "        and for :config also sections leaves slow\n";

// The server's bounds, as they are set.
std::string Bounds() {
  const orvalen::sandbox::HttpLimits l;
  const auto s = [](std::chrono::milliseconds d) {
    return std::to_string(d.count() / 1000) + " s";
  };
  const auto kib = [](std::size_t bytes) { return std::to_string(bytes / 1024) + " KiB"; };
  return "bounds: a kept-alive connection is closed after " + s(l.idle) +
         " without a request;\n"
         "        a request must arrive whole (line, headers, body) within " +
         s(l.request) + " of its first\n        byte, each write within " + s(l.write) +
         "; a request line over " + kib(l.max_request_line) +
         " is refused\n        with 414, headers over " + kib(l.max_header) +
         " with 431, a body over " + kib(l.max_body) +
         " with 413;\n"
         "        at most " +
         std::to_string(l.max_connections) + " connections at a time\n";
}

enum class Action { kServe, kHelp, kVersion };

// Every connection holds a descriptor: take all the system allows
// (Debian's default soft limit is 1,024).
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

struct Args {
  orvalen::sandbox::SandboxOptions options;
  std::string while_locked;  // stop once nobody holds a lock on this file
};

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

// Fills `args` from the arguments; a usage error comes back as its message.
std::variant<Action, std::string> ParseArgs(int argc, char** argv, Args& args) {
  orvalen::sandbox::SandboxOptions& o = args.options;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--help") return Action::kHelp;
    if (flag == "--version") return Action::kVersion;
    static const std::set<std::string> kFlags{"--host",  "--port",        "--seed",
                                              "--items", "--app-key",     "--app-secret",
                                              "--fault", "--while-locked"};
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
      } else if (flag == "--while-locked") {
        args.while_locked = value;
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
  Args args;
  orvalen::sandbox::SandboxOptions& options = args.options;
  options.log = [](const std::string& line) { std::cerr << line << std::endl; };
  const auto parsed = ParseArgs(argc, argv, args);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "orvalen-sandbox: " << *error << " (see orvalen-sandbox --help)\n";
    return 2;
  }
  if (std::get<Action>(parsed) == Action::kHelp) {
    std::cout << kUsage << Bounds();
    return 0;
  }
  if (std::get<Action>(parsed) == Action::kVersion) {
    std::cout << "orvalen-sandbox " << orvalen::kVersion << '\n';
    return 0;
  }
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
  std::cout << "listening on " << sandbox.base_url() << "/" << std::endl;
  sandbox.Run();
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the waiter if Run ended otherwise
  stopper.join();
  return 0;
}
