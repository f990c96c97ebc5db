// SandboxRunner: an in-process sandbox on 127.0.0.1, a free port, serving
// on its own thread for the lifetime of the object.
#pragma once

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "sandbox/SandboxServer.h"

namespace orvalen::test {

// Collects the sandbox's log lines; the server writes a request's line just
// after answering it, so tests wait for the line they expect.
class LogCapture {
 public:
  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& line) {
      const std::lock_guard lock(mutex_);
      lines_.push_back(line);
    };
  }
  // True once a line containing `text` has arrived (waiting up to 15 s).
  bool WaitFor(const std::string& text) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    do {
      if (Contains(text)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }
  std::size_t Count(const std::string& text) const {
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(lines_.begin(), lines_.end(),
                      [&](const std::string& l) { return l.find(text) != std::string::npos; }));
  }
  bool Contains(const std::string& text) const {
    const std::lock_guard lock(mutex_);
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

class SandboxRunner {
 public:
  explicit SandboxRunner(std::size_t items = 3000, LogCapture* log = nullptr,
                         std::vector<sandbox::Fault> faults = {})
      : server_(Options(items, log, std::move(faults))) {
    if (!server_.Bind()) throw std::runtime_error("sandbox could not bind");
    thread_ = std::thread([this] { server_.Run(); });
    while (!server_.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~SandboxRunner() {
    server_.Stop();
    thread_.join();
  }
  sandbox::SandboxServer& server() { return server_; }

 private:
  static sandbox::SandboxOptions Options(std::size_t items, LogCapture* log,
                                         std::vector<sandbox::Fault> faults) {
    sandbox::SandboxOptions o;
    o.faults = std::move(faults);
    o.port = 0;
    o.items = items;
    if (log != nullptr) o.log = log->Sink();
    return o;
  }
  sandbox::SandboxServer server_;
  std::thread thread_;
};

}  // namespace orvalen::test
