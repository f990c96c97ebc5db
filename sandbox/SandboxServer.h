// SandboxServer: the sandbox open platform over HTTP (HttpServer, event
// driven). Serves the configuration document, the gateway (GET and POST),
// item pictures, credit badges and the affiliate landing pages, and logs one
// line per request. The addresses in what it serves are those the client
// reached it by (RequestOrigin), so that one bound to every address
// (0.0.0.0, ::) serves other machines too.
//
//   SandboxServer sandbox({.port = 0});       // 0: any free port
//   if (!sandbox.Bind()) ...;                 // sandbox.base_url() is now known
//   std::thread t([&] { sandbox.Run(); });   // until Stop()
//   ... sandbox.config_url() ...
//   sandbox.Stop(); t.join();
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sandbox/Catalogue.h"
#include "sandbox/Faults.h"
#include "sandbox/HttpMessage.h"
#include "sandbox/HttpServer.h"

namespace orvalen::sandbox {

struct SandboxOptions {
  std::string host = "127.0.0.1";
  int port = 8970;
  std::uint64_t seed = 1;
  std::size_t items = 20000;
  std::string app_key = "21008970";
  std::string app_secret = "orvalen-sandbox-secret";
  // Receives one line per request and landing, from any thread, one at a time.
  std::function<void(const std::string& line)> log;
  std::function<std::chrono::system_clock::time_point()> clock = std::chrono::system_clock::now;
  std::vector<Fault> faults;  // misbehaviour on purpose, for tests
  HttpLimits limits;          // time, size and connection bounds
};

struct Landing;

class SandboxServer {
 public:
  explicit SandboxServer(SandboxOptions options);
  ~SandboxServer();
  SandboxServer(const SandboxServer&) = delete;
  SandboxServer& operator=(const SandboxServer&) = delete;

  // Binds the listening socket; false when the address is taken or invalid.
  bool Bind();
  // Serves until Stop(); call after a successful Bind().
  void Run();
  // True once Run() serves.
  bool IsRunning() const;
  // Ends Run() at once, open connections or not; safe from any thread.
  void Stop();
  std::size_t connections() const;  // open now

  int port() const { return port_; }
  // "http://HOST:PORT" as bound ("http://[::1]:8970", "http://0.0.0.0:8970").
  std::string listen_url() const;
  // The same as this machine reaches it: an unspecified address becomes
  // loopback of its family.
  std::string base_url() const;
  std::string config_url() const;  // where the configuration document is served
  std::string gateway_url() const;
  const Catalogue& catalogue() const { return catalogue_; }

 private:
  struct Impl;
  HttpReply Serve(const HttpRequest& req);
  HttpReply ServeGateway(const HttpRequest& req);
  HttpReply ServeConfig(const HttpRequest& req);
  // The gateway's clock: the options' clock, set off by a clock fault.
  std::chrono::system_clock::time_point Now() const;
  HttpReply Landed(const Landing& landing);
  HttpReply ServeImage(const std::string& path);
  void Log(const std::string& line);

  SandboxOptions options_;
  Catalogue catalogue_;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
  std::mutex log_mutex_;
};

}  // namespace orvalen::sandbox
