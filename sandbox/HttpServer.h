// HttpServer: a small event-driven HTTP/1.1 server (Boost.Beast on Asio)
// for the sandbox. A few threads serve every connection; a connection that
// is idle, slow or oversized costs a socket and a buffer, never a thread.
//
//   HttpServer server(limits, [](const HttpRequest& r) { return HttpReply::Text(...); },
//                     [](const std::string& line) { log(line); });
//   int port = server.Bind("127.0.0.1", 0);   // 0: any free port; -1 on failure
//   std::thread t([&] { server.Run(); });     // until Stop()
//   server.Stop(); t.join();                  // at once, open connections or not
//
// Bounds (HttpLimits): a kept-alive connection waits `idle` for its next
// request; a request must arrive whole (line, headers and body) within
// `request` of its first byte; each write must finish within `write`. A
// request line longer than `max_request_line` is answered 414, headers over
// `max_header` 431, a body over `max_body` 413, anything unreadable 400;
// each closes the connection. Beyond `max_connections` new connections are
// closed at once.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "sandbox/HttpMessage.h"

namespace orvalen::sandbox {

struct HttpLimits {
  std::chrono::milliseconds idle{std::chrono::seconds(5)};
  std::chrono::milliseconds request{std::chrono::seconds(10)};
  std::chrono::milliseconds write{std::chrono::seconds(10)};
  std::size_t max_request_line = 8 * 1024;
  std::size_t max_header = 16 * 1024;  // the request line included
  std::size_t max_body = 1024 * 1024;
  std::size_t max_connections = 10000;
  int threads = 2;
};

class HttpServer {
 public:
  using Handler = std::function<HttpReply(const HttpRequest&)>;
  // One line per request answered or refused, from any thread.
  using Log = std::function<void(const std::string& line)>;
  // The time the Date header gives.
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  HttpServer(HttpLimits limits, Handler handler, Log log,
             Clock clock = std::chrono::system_clock::now);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // The port listened on, or -1 when the address is taken or invalid.
  int Bind(const std::string& host, int port);
  // Serves until Stop(); returns at once if Stop() came first.
  void Run();
  bool IsRunning() const { return running_; }
  // Safe from any thread, also before Run().
  void Stop();
  std::size_t Connections() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
  std::atomic<bool> running_{false};
};

}  // namespace orvalen::sandbox
