#include "app/start/LocalSandbox.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLoggingCategory>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

namespace orvalen {
namespace {

Q_LOGGING_CATEGORY(sandboxLog, "orvalen.sandbox")

using Clock = std::chrono::steady_clock;

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  Descriptor() = default;
  explicit Descriptor(int f) : fd(f) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  void Close() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

// Holder of a getaddrinfo list.
struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads what the sandbox prints until it says it listens (true), or it
// closes its output (it ended) or the time is up (false).
bool SaysItListens(int fd, Clock::time_point deadline) {
  std::string said;
  while (said.find("listening on ") == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    said.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

// Runs `argv` in a session of its own, as no process's child (a double fork:
// the middle process ends at once), with standard output to `out` and the
// rest to /dev/null. The grandchild's process id, or -1.
pid_t SpawnDetached(const std::vector<std::string>& args, int out) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int ids[2];
  if (pipe2(ids, O_CLOEXEC) != 0) return -1;
  const Descriptor id_read(ids[0]);
  Descriptor id_write(ids[1]);
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
  id_write.Close();
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  pid_t child = -1;
  if (read(id_read.fd, &child, sizeof child) != sizeof child) return -1;
  return child;
}

}  // namespace

std::optional<LoopbackEndpoint> LoopbackEndpointOf(const std::string& url) {
  const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
  if (!parsed.isValid() || parsed.scheme() != QLatin1String("http")) return std::nullopt;
  const QString host = parsed.host();
  if (host != QLatin1String("127.0.0.1") && host != QLatin1String("localhost") &&
      host != QLatin1String("::1")) {
    return std::nullopt;
  }
  return LoopbackEndpoint{host.toStdString(), parsed.port(80)};
}

bool AcceptsConnections(const LoopbackEndpoint& endpoint) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  AddressList addresses;
  const std::string port = std::to_string(endpoint.port);
  if (getaddrinfo(endpoint.host.c_str(), port.c_str(), &hints, &addresses.head) != 0) return false;
  for (const addrinfo* a = addresses.head; a != nullptr; a = a->ai_next) {
    const Descriptor socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, 0));
    // Loopback answers a connect at once, accepted or refused.
    if (socket.fd >= 0 && ::connect(socket.fd, a->ai_addr, a->ai_addrlen) == 0) return true;
  }
  return false;
}

std::string SandboxLockFile(const std::string& lock_dir, int port) {
  std::error_code error;
  const std::filesystem::path dir = lock_dir.empty() ? std::filesystem::temp_directory_path(error)
                                                     : std::filesystem::path(lock_dir);
  return (dir.empty() ? std::filesystem::path("/tmp") : dir) /
         ("orvalen-sandbox-" + std::to_string(port) + ".lock");
}

LocalSandbox::LocalSandbox(const LocalSandboxSettings& settings) {
  if (settings.config_url != settings.builtin_url) return;
  const auto endpoint = LoopbackEndpointOf(settings.builtin_url);
  if (!endpoint) return;
  const std::string lock_file = SandboxLockFile(settings.lock_dir, endpoint->port);
  if (!Hold(lock_file, settings.ready_limit)) {
    qCWarning(sandboxLog) << "cannot hold" << lock_file.c_str() << strerror(errno);
    return;
  }
  if (AcceptsConnections(*endpoint)) return;
  started_ = Start(settings, *endpoint, lock_file);
}

LocalSandbox::~LocalSandbox() {
  if (lock_ >= 0) close(lock_);  // the sandbox ends once no window holds the file
}

// A shared lock on the file. A sandbox that has just found no holder keeps
// its exclusive lock until it has ended: waiting for it here means the port
// is free once the lock is granted.
bool LocalSandbox::Hold(const std::string& lock_file, std::chrono::milliseconds limit) {
  // No O_CREAT first: another user's file in a sticky folder may be opened,
  // not created over.
  int fd = open(lock_file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) fd = open(lock_file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  Descriptor file(fd);
  const auto deadline = Clock::now() + limit;
  while (flock(file.fd, LOCK_SH | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  lock_ = std::exchange(file.fd, -1);
  return true;
}

pid_t LocalSandbox::Start(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint,
                          const std::string& lock_file) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return 0;
  const Descriptor out_read(out[0]);
  Descriptor out_write(out[1]);
  const pid_t pid =
      SpawnDetached({settings.program.toStdString(), "--host", endpoint.host, "--port",
                     std::to_string(endpoint.port), "--while-locked", lock_file},
                    out_write.fd);
  out_write.Close();
  if (pid <= 0) {
    qCWarning(sandboxLog) << "cannot start" << settings.program;
    return 0;
  }
  if (SaysItListens(out_read.fd, Clock::now() + settings.ready_limit)) {
    qCInfo(sandboxLog) << "started" << settings.program << "on port" << endpoint.port << "pid"
                       << pid;
    return pid;
  }
  // Another window's sandbox may have taken the port first: then that one serves.
  if (AcceptsConnections(endpoint)) return 0;
  qCWarning(sandboxLog) << settings.program << "did not start listening on port" << endpoint.port;
  kill(pid, SIGTERM);
  return 0;
}

}  // namespace orvalen
