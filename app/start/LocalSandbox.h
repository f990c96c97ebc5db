// LocalSandbox: the user's own sandbox, shared by all of that user's
// windows on the built-in local configuration address, started on demand
// and ended when the last of those windows has gone.
//
//   LocalSandbox sandbox({.config_url = url, .builtin_url = DefaultConfigUrl(),
//                         .program = bin_dir + "/orvalen-sandbox"});
//   load sandbox.ConfigUrl()          // the built-in address, on the user's port
//   ... run the window ...            // the destructor lets go of the sandbox
//
// Nothing is started (and nothing is probed) unless the configuration address
// is the built-in one and that names this machine (127.0.0.1, localhost, ::1).
// The user's windows share three files in the user's runtime folder (see
// RuntimeDir), which no other user can reach: "start.lock", held alone while
// a window finds or starts the sandbox; "sandbox.lock", on which each
// window holds a shared lock for its whole life (the kernel lets go of it
// however the window ends, even by SIGKILL); and "sandbox.port", the port
// the user's sandbox listens on. A sandbox a window starts runs apart from
// it (its own session, not its child) and waits for an exclusive lock on
// "sandbox.lock": it gets it when none of the user's windows holds the file
// any more, and then ends.
//
// Only what this user runs is trusted: the port the user's sandbox was
// started on, or a server of this user's already on the built-in port (a
// sandbox a developer started), which is used as it is and never stopped.
// When the built-in port belongs to another user, the sandbox is started on
// a free port of its own, and ConfigUrl() and port() say which.
#pragma once

#include <sys/types.h>

#include <QString>
#include <chrono>
#include <optional>
#include <string>

#include "app/start/RuntimeDir.h"
#include "platform/FileDescriptor.h"

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

  // The process id of the sandbox this object started and that said it
  // listens; 0 when it started none.
  pid_t Started() const { return started_; }
  // True while this object keeps the user's sandbox alive.
  bool Holding() const { return static_cast<bool>(lock_); }
  // The port the user's sandbox serves on; 0 when none is used.
  int port() const { return port_; }
  // The configuration address to load: the one given, with the built-in
  // one moved to the user's port.
  const std::string& ConfigUrl() const { return config_url_; }
  // The folder of the shared files; empty when none is used.
  std::string Folder() const { return dir_ ? dir_->path() : std::string(); }

 private:
  void Share(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint);
  bool Hold(const std::string& lock_file, std::chrono::steady_clock::time_point deadline);
  int FindOrStart(const LocalSandboxSettings& settings, const LoopbackEndpoint& endpoint);

  std::optional<RuntimeDir> dir_;
  FileDescriptor lock_;
  pid_t started_ = 0;
  int port_ = 0;
  std::string config_url_;
};

}  // namespace orvalen
