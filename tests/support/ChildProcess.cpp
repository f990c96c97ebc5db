#include "support/ChildProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
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
  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t equals = entry.find('=');
    if (equals != std::string::npos) env[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  for (const auto& [name, value] : changes) {
    if (value) {
      env[name] = *value;
    } else {
      env.erase(name);
    }
  }
  std::vector<std::string> list;
  for (const auto& [name, value] : env) list.push_back(name + "=" + value);
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
  std::vector<char*> argv_pointers = Pointers(argv);
  std::vector<char*> envp_pointers = Pointers(envp);
  const int out = open(out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int err = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    execve(program.c_str(), argv_pointers.data(), envp_pointers.data());
    _exit(127);
  }
  close(out);
  close(err);
  if (pid_ < 0) throw std::runtime_error("fork failed");
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
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (const dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0) continue;
    std::string cmdline = ReadFile("/proc/" + std::string(entry->d_name) + "/cmdline");
    std::vector<std::string> args;
    std::istringstream args_text(cmdline);
    for (std::string arg; std::getline(args_text, arg, '\0');) args.push_back(arg);
    const bool all = std::all_of(words.begin(), words.end(), [&](const std::string& w) {
      return std::any_of(args.begin(), args.end(),
                         [&](const std::string& a) { return a == w || a.ends_with("/" + w); });
    });
    if (all && !args.empty()) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

}  // namespace orvalen::test
