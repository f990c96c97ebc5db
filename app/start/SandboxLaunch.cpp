#include "app/start/SandboxLaunch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <vector>

#include "platform/FileDescriptor.h"

namespace orvalen {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads what the sandbox prints until it says where it listens (its port),
// or it closes its output (it ended) or the time is up (0).
int ReadPort(int fd, Clock::time_point deadline) {
  std::string said;
  for (int port = 0; port == 0; port = ListeningPort(said)) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return 0;
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 0;
    said.append(buffer, static_cast<std::size_t>(n));
  }
  return ListeningPort(said);
}

// Runs `args` in a session of its own, as no process's child (a double fork:
// the middle process ends at once), with standard output to `out` and the
// rest to /dev/null. The grandchild's process id, or -1.
pid_t SpawnDetached(const std::vector<std::string>& args, int out) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int ids[2];
  if (pipe2(ids, O_CLOEXEC) != 0) return -1;
  const FileDescriptor id_read(ids[0]);
  FileDescriptor id_write(ids[1]);
  const pid_t middle = fork();
  if (middle < 0) return -1;
  if (middle == 0) {
    // Between fork and exec: async-signal-safe calls only.
    setsid();
    const pid_t child = fork();
    if (child != 0) {
      (void)!write(ids[1], &child, sizeof child);
      _exit(child < 0 ? 1 : 0);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  id_write.Reset();
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  pid_t child = -1;
  if (read(id_read.get(), &child, sizeof child) != sizeof child) return -1;
  return child;
}

}  // namespace

int ListeningPort(const std::string& said) {
  constexpr std::string_view kSays = "listening on ";
  const auto start = said.find(kSays);
  if (start == std::string::npos) return 0;
  const auto end = said.find('\n', start);
  if (end == std::string::npos) return 0;
  // "listening on http://127.0.0.1:8970/" or "http://[::1]:8970/".
  const std::string_view line(said.data() + start, end - start);
  const auto slash = line.rfind('/');
  const auto colon = line.rfind(':', slash);
  if (slash == std::string_view::npos || colon == std::string_view::npos) return 0;
  int port = 0;
  std::from_chars(line.data() + colon + 1, line.data() + slash, port);
  return port > 0 && port < 65536 ? port : 0;
}

Launched LaunchSandbox(const SandboxCommand& command, std::chrono::milliseconds limit) {
  Launched launched;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    launched.error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return launched;
  }
  const FileDescriptor out_read(out[0]);
  FileDescriptor out_write(out[1]);
  const pid_t pid =
      SpawnDetached({command.program, "--host", command.host, "--port",
                     std::to_string(command.port), "--while-locked", command.lock_file},
                    out_write.get());
  out_write.Reset();
  if (pid <= 0) {
    launched.error = "cannot start " + command.program;
    return launched;
  }
  launched.port = ReadPort(out_read.get(), Clock::now() + limit);
  if (launched.port == 0) {
    kill(pid, SIGTERM);
    launched.error =
        command.program + " did not start listening on port " + std::to_string(command.port);
    return launched;
  }
  launched.pid = pid;
  return launched;
}

}  // namespace orvalen
