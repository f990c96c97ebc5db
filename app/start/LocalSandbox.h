// LocalSandbox: the installed sandbox, shared by every window on the
// built-in local configuration address, started on demand and ended when
// the last of those windows has gone.
//
//   LocalSandbox sandbox({.config_url = url, .builtin_url = DefaultConfigUrl(),
//                         .program = bin_dir + "/orvalen-sandbox"});
//   ... run the window ...        // the destructor lets go of the sandbox
//
// Nothing is started (and nothing is probed) unless the configuration address
// is the built-in one and that names this machine (127.0.0.1, localhost, ::1).
// Each such window holds a shared lock on a file named after the port for
// its whole life; the kernel lets go of it however the window ends, even by
// SIGKILL. A sandbox a window starts runs apart from it (its own session,
// not its child) and waits for an exclusive lock on that file: it gets it
// when no window holds the file any more, and then ends. So no window
// depends on another window's life, and none is left behind. Something that
// already accepts connections on the port (a sandbox a developer started, or
// another program) is used as it is and never stopped. Start-up waits until
// the sandbox says it listens, at most `ready_limit`.
#pragma once

#include <sys/types.h>

#include <QString>
#include <chrono>
#include <optional>
#include <string>

namespace orvalen {

struct LocalSandboxSettings {
  std::string config_url;
  std::string builtin_url;
  QString program;
  std::chrono::milliseconds ready_limit{10000};
  std::string lock_dir;  // empty: the system's temporary folder, shared by its users
};

// Host and port of an http address on this machine; none for any other.
struct LoopbackEndpoint {
  std::string host;
  int port = 0;
};
std::optional<LoopbackEndpoint> LoopbackEndpointOf(const std::string& url);

// True when a TCP connection to host:port is accepted.
bool AcceptsConnections(const LoopbackEndpoint& endpoint);

// The file whose shared locks keep the sandbox on `port` alive.
std::string SandboxLockFile(const std::string& lock_dir, int port);

class LocalSandbox {
 public:
  explicit LocalSandbox(const LocalSandboxSettings& settings);
  ~LocalSandbox();
  LocalSandbox(const LocalSandbox&) = delete;
  LocalSandbox& operator=(const LocalSandbox&) = delete;

  // The process id of the sandbox this object started and that said it
  // listens; 0 when it started none.
  pid_t Started() const { return started_; }
  // True while this object keeps the sandbox on the built-in port alive.
  bool Holding() const { return lock_ >= 0; }

 private:
  bool Hold(const std::string& lock_file, std::chrono::milliseconds limit);
  pid_t Start(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint,
              const std::string& lock_file);

  int lock_ = -1;
  pid_t started_ = 0;
};

}  // namespace orvalen
