#include "support/ChildProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace orvalen::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const std::string& suffix) {
  std::string pattern = "/tmp/orvalen-child-XXXXXX" + suffix;
  const int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
  if (fd < 0) throw std::runtime_error("mkstemps failed");
  close(fd);
  return pattern;
}

std::vector<std::string> Environment(const EnvironmentChanges& changes) {
  std::vector<std::string> list;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (!changes.contains(entry.substr(0, entry.find('=')))) list.push_back(entry);
  }
  for (const auto& [name, value] : changes) {
    if (value) list.push_back(name + "=" + *value);
  }
  return list;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const EnvironmentChanges& environment)
    : out_path_(TempPath(".out")), err_path_(TempPath(".err")) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> envp = Environment(environment);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out_path_.c_str(), O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err_path_.c_str(), O_WRONLY, 0);
  const int failed = posix_spawn(&pid_, program.c_str(), &files, nullptr, Pointers(argv).data(),
                                 Pointers(envp).data());
  posix_spawn_file_actions_destroy(&files);
  if (failed != 0) throw std::runtime_error("cannot start " + program);
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    Signal(SIGKILL);
    Wait(std::chrono::seconds(10));
  }
  unlink(out_path_.c_str());
  unlink(err_path_.c_str());
}

void ChildProcess::Signal(int signal) const {
  if (!status_) kill(pid_, signal);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
  WaitUntil(
      [this] {
        int raw = 0;
        if (status_ || waitpid(pid_, &raw, WNOHANG) != pid_) return status_.has_value();
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return true;
      },
      limit);
  return status_;
}

std::string ChildProcess::Output() const {
  return ReadFile(out_path_);
}
std::string ChildProcess::Errors() const {
  return ReadFile(err_path_);
}

int UnusedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

std::vector<pid_t> ProcessesWith(const std::vector<std::string>& words) {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
    if (pid <= 0) continue;
    std::vector<std::string> args;
    std::istringstream cmdline(ReadFile(entry.path() / "cmdline"));
    for (std::string arg; std::getline(cmdline, arg, '\0');) args.push_back(arg);
    const bool all = std::all_of(words.begin(), words.end(), [&](const std::string& w) {
      return std::any_of(args.begin(), args.end(),
                         [&](const std::string& a) { return a == w || a.ends_with("/" + w); });
    });
    if (all && !args.empty()) found.push_back(pid);
  }
  return found;
}

}  // namespace orvalen::test
