#include "app/LocalSandbox.h"

#include <netdb.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLoggingCategory>
#include <QUrl>
#include <csignal>

namespace orvalen {
namespace {

Q_LOGGING_CATEGORY(sandboxLog, "orvalen.sandbox")

// Closes a socket descriptor when it goes out of scope.
struct SocketHolder {
  int fd;
  ~SocketHolder() {
    if (fd >= 0) close(fd);
  }
};

// Holder of a getaddrinfo list.
struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

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
    const SocketHolder socket{::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, 0)};
    // Loopback answers a connect at once, accepted or refused.
    if (socket.fd >= 0 && ::connect(socket.fd, a->ai_addr, a->ai_addrlen) == 0) return true;
  }
  return false;
}

LocalSandbox::LocalSandbox(const LocalSandboxSettings& settings) {
  if (settings.config_url != settings.builtin_url) return;
  const auto endpoint = LoopbackEndpointOf(settings.builtin_url);
  if (!endpoint || AcceptsConnections(*endpoint)) return;
  if (!Start(settings, *endpoint)) Stop();
}

LocalSandbox::~LocalSandbox() {
  Stop();
}

bool LocalSandbox::Start(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint) {
  process_ = std::make_unique<QProcess>();
  process_->setProgram(settings.program);
  process_->setArguments({QStringLiteral("--host"), QString::fromStdString(endpoint.host),
                          QStringLiteral("--port"), QString::number(endpoint.port)});
  // Its request log is of no use to the window's user.
  process_->setStandardErrorFile(QProcess::nullDevice());
  process_->setStandardInputFile(QProcess::nullDevice());
  const pid_t parent = getpid();
  process_->setChildProcessModifier([parent] {
    // Runs in the child between fork and exec: async-signal-safe calls only.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);  // the window died before prctl took hold
  });
  process_->start();
  if (!process_->waitForStarted()) {
    qCWarning(sandboxLog) << "cannot start" << settings.program << process_->errorString();
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + settings.ready_limit;
  QByteArray said;
  while (!said.contains("listening on ")) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !process_->waitForReadyRead(static_cast<int>(left.count()))) {
      qCWarning(sandboxLog) << settings.program << "did not start listening on port"
                            << endpoint.port;
      return false;
    }
    said += process_->readAllStandardOutput();
  }
  qCInfo(sandboxLog) << "started" << settings.program << "on port" << endpoint.port << "pid"
                     << process_->processId();
  return true;
}

bool LocalSandbox::Running() const {
  return process_ != nullptr && process_->state() != QProcess::NotRunning;
}

qint64 LocalSandbox::ProcessId() const {
  return Running() ? process_->processId() : 0;
}

void LocalSandbox::Stop() {
  if (!Running()) {
    process_.reset();
    return;
  }
  process_->terminate();
  if (!process_->waitForFinished(3000)) {
    process_->kill();
    process_->waitForFinished(3000);
  }
  process_.reset();
}

}  // namespace orvalen
