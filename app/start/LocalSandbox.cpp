#include "app/start/LocalSandbox.h"

#include <fcntl.h>
#include <netdb.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLoggingCategory>
#include <QUrl>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>

#include "app/start/SandboxLaunch.h"
#include "platform/ListeningSockets.h"
#include "platform/PrivateFiles.h"

namespace orvalen {
namespace {

Q_LOGGING_CATEGORY(sandboxLog, "orvalen.sandbox")

using Clock = std::chrono::steady_clock;

// Holder of a getaddrinfo list.
struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

void Warn(const std::string& line) {
  qCWarning(sandboxLog, "%s", line.c_str());
}

// Takes a lock of `kind` on `fd`, waiting until `deadline`: a lock in the
// user's own folder is held only by the user's own processes, and briefly.
std::string Lock(int fd, int kind, Clock::time_point deadline) {
  while (flock(fd, kind | LOCK_NB) != 0) {
    const int error = errno;
    if (error != EWOULDBLOCK && error != EINTR) return std::strerror(error);
    if (Clock::now() >= deadline) return "still held by another window";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

int RecordedPort(const std::string& file) {
  const OpenedFile opened = OpenPrivateFile(file, O_RDONLY, false);
  if (!opened) return 0;
  char text[16] = {};
  const ssize_t n = read(opened.fd.get(), text, sizeof text - 1);
  int port = 0;
  if (n > 0) std::from_chars(text, text + n, port);
  return port > 0 && port < 65536 ? port : 0;
}

void RecordPort(const std::string& file, int port) {
  const OpenedFile opened = OpenPrivateFile(file, O_WRONLY | O_TRUNC, true);
  const std::string text = std::to_string(port) + "\n";
  if (!opened || write(opened.fd.get(), text.data(), text.size()) != ssize_t(text.size())) {
    Warn("cannot record the sandbox's port: " +
         (opened ? std::string(std::strerror(errno)) : opened.error));
  }
}

// Something of this user's accepts connections there.
bool ServesThisUser(const LoopbackEndpoint& endpoint) {
  return AcceptsConnections(endpoint) && ListenedOnByThisUser(endpoint.port);
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
    const FileDescriptor socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, 0));
    // Loopback answers a connect at once, accepted or refused.
    if (socket && ::connect(socket.get(), a->ai_addr, a->ai_addrlen) == 0) return true;
  }
  return false;
}

LocalSandbox::LocalSandbox(const LocalSandboxSettings& settings)
    : config_url_(settings.config_url) {
  if (settings.config_url != settings.builtin_url) return;
  const auto endpoint = LoopbackEndpointOf(settings.builtin_url);
  if (!endpoint) return;
  dir_.emplace(RuntimeDir::ForThisUser(Warn));
  if (dir_->path().empty()) return;
  Share(settings, *endpoint);
  if (port_ != 0 && port_ != endpoint->port) {
    QUrl moved(QString::fromStdString(settings.builtin_url));
    moved.setPort(port_);
    config_url_ = moved.toString().toStdString();
  }
}

LocalSandbox::~LocalSandbox() = default;  // closing the lock lets the sandbox end

// One window at a time finds or starts the sandbox, and holds it from then on.
void LocalSandbox::Share(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint) {
  const auto deadline = Clock::now() + settings.ready_limit;
  const std::string folder = dir_->path();
  const OpenedFile start = OpenPrivateFile(folder + "/start.lock", O_RDONLY, true);
  if (!start) return Warn(start.error);
  if (const std::string why = Lock(start.fd.get(), LOCK_EX, deadline); !why.empty()) {
    return Warn("cannot start the sandbox: " + folder + "/start.lock: " + why);
  }
  if (!Hold(folder + "/sandbox.lock", deadline)) return;
  port_ = FindOrStart(settings, endpoint);
}

// A shared lock on the file. A sandbox that has just found no holder keeps
// its exclusive lock until it has ended: waiting for it here means its port
// is closed once the lock is granted.
bool LocalSandbox::Hold(const std::string& lock_file, Clock::time_point deadline) {
  OpenedFile file = OpenPrivateFile(lock_file, O_RDONLY, true);
  if (!file) {
    Warn(file.error);
    return false;
  }
  if (const std::string why = Lock(file.fd.get(), LOCK_SH, deadline); !why.empty()) {
    Warn("cannot hold " + lock_file + ": " + why);
    return false;
  }
  lock_ = std::move(file.fd);
  return true;
}

int LocalSandbox::FindOrStart(const LocalSandboxSettings& settings,
                              const LoopbackEndpoint& endpoint) {
  const std::string folder = dir_->path();
  const int recorded = RecordedPort(folder + "/sandbox.port");
  if (recorded != 0 && ServesThisUser({endpoint.host, recorded})) return recorded;
  if (ServesThisUser(endpoint)) return endpoint.port;
  SandboxCommand command{settings.program.toStdString(), endpoint.host, endpoint.port,
                         folder + "/sandbox.lock"};
  // Another user's server on the built-in port is never trusted.
  if (AcceptsConnections(endpoint)) {
    qCInfo(sandboxLog) << "port" << endpoint.port << "belongs to another user";
    command.port = 0;
  }
  Launched launched = LaunchSandbox(command, settings.ready_limit);
  if (!launched && command.port != 0 && AcceptsConnections(endpoint)) {
    command.port = 0;  // taken meanwhile
    launched = LaunchSandbox(command, settings.ready_limit);
  }
  if (!launched) {
    Warn(launched.error);
    return 0;
  }
  qCInfo(sandboxLog) << "started" << settings.program << "on port" << launched.port << "pid"
                     << launched.pid;
  started_ = launched.pid;
  RecordPort(folder + "/sandbox.port", launched.port);
  return launched.port;
}

}  // namespace orvalen
