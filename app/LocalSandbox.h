// LocalSandbox: the installed sandbox, started on demand for the built-in
// local configuration address and stopped with the window.
//
//   LocalSandbox sandbox({.config_url = url, .builtin_url = DefaultConfigUrl(),
//                         .program = bin_dir + "/orvalen-sandbox"});
//   ... run the window ...        // the destructor stops what was started
//
// Nothing is started (and nothing is probed) unless the configuration address
// is the built-in one and that names this machine (127.0.0.1, localhost, ::1);
// nothing is started either when something already accepts connections on its
// port. Start-up waits until the sandbox says it listens, at most
// `ready_limit`. Should this process die without running the destructor, the
// kernel sends the sandbox SIGTERM (PR_SET_PDEATHSIG).
#pragma once

#include <QProcess>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace orvalen {

struct LocalSandboxSettings {
  std::string config_url;
  std::string builtin_url;
  QString program;
  std::chrono::milliseconds ready_limit{10000};
};

// Host and port of an http address on this machine; none for any other.
struct LoopbackEndpoint {
  std::string host;
  int port = 0;
};
std::optional<LoopbackEndpoint> LoopbackEndpointOf(const std::string& url);

// True when a TCP connection to host:port is accepted.
bool AcceptsConnections(const LoopbackEndpoint& endpoint);

class LocalSandbox {
 public:
  explicit LocalSandbox(const LocalSandboxSettings& settings);
  ~LocalSandbox();
  LocalSandbox(const LocalSandbox&) = delete;
  LocalSandbox& operator=(const LocalSandbox&) = delete;

  // True while a sandbox this object started runs.
  bool Running() const;
  qint64 ProcessId() const;
  // SIGTERM, then SIGKILL if it has not ended within 3 s.
  void Stop();

 private:
  bool Start(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint);

  std::unique_ptr<QProcess> process_;
};

}  // namespace orvalen
