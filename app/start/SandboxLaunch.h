// SandboxLaunch: starts the installed sandbox apart from the window (its
// own session, not the window's child) and waits until it says where it
// listens.
//
//   const Launched s = LaunchSandbox({.program = p, .host = "127.0.0.1", .port = 0,
//                                     .lock_file = dir + "/sandbox.lock"}, limit);
//   if (s) use s.port;   // the port it took (--port 0 takes a free one)
//
// The sandbox gets `--while-locked lock_file` and so ends once no window
// holds a lock on that file. One that ends without saying it listens, or
// says nothing within `limit`, is stopped and counts as not started.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace orvalen {

struct SandboxCommand {
  std::string program;
  std::string host;
  int port = 0;
  std::string lock_file;
};

struct Launched {
  pid_t pid = 0;
  int port = 0;
  std::string error;  // why not, when pid is 0
  explicit operator bool() const { return pid > 0; }
};

Launched LaunchSandbox(const SandboxCommand& command, std::chrono::milliseconds limit);

// The port of the sandbox's "listening on http://HOST:PORT/" line in
// `said`; 0 while no whole line says so.
int ListeningPort(const std::string& said);

}  // namespace orvalen
