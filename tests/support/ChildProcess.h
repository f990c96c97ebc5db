// ChildProcess: one of the project's programs run as a separate process, for
// tests of what a user sees from outside: exit status, standard output and
// error, signals, the processes it leaves behind.
//
//   ChildProcess p(program, {"--version"}, {{"DISPLAY", std::nullopt}});
//   const auto status = p.Wait(std::chrono::seconds(10));   // exit status
//   EXPECT_EQ(p.Output(), "orvalen 1.0\n");
//
// The environment is the test's own with the given changes (nullopt removes
// a variable). The destructor kills the process if it still runs.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvalen::test {

using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const EnvironmentChanges& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  void Signal(int signal) const;
  // The exit status once the process has ended within `limit` (128 + N when
  // signal N ended it); nothing when it still runs.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  std::string Output() const;  // standard output so far
  std::string Errors() const;  // standard error so far

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string out_path_, err_path_;
};

// Waits up to `limit` for `condition` to hold, checking every 20 ms.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A port on 127.0.0.1 that nothing listened on a moment ago.
int UnusedLoopbackPort();

// Process ids of running processes whose command line holds every one of
// `words` as a whole argument (or as the last component of a path).
std::vector<pid_t> ProcessesWith(const std::vector<std::string>& words);

}  // namespace orvalen::test
