// TestServer: an HTTP server on 127.0.0.1 (a free port) for tests, with one
// handler per path and a record of every request it received.
//
//   TestServer server;
//   server.Serve("/router/rest", "<rsp>...</rsp>");        // fixed answer
//   server.Handle("/slow", [&](const auto& req, auto& res) { ... });
//   client.Get(server.Url("/router/rest"));
//   server.Requests()[0].target;                           // path and query as sent
//
// Handlers that wait must poll Stopping() so that the destructor can end them.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvalen::test {

struct RecordedRequest {
  std::string method;
  std::string path;
  std::string target;  // path plus query string, as received
  httplib::Params params;
};

class TestServer {
 public:
  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  void Handle(const std::string& path, httplib::Server::Handler handler);
  void Serve(const std::string& path, std::string body,
             std::string content_type = "text/xml; charset=utf-8");

  int port() const { return port_; }
  std::string Url(const std::string& path) const;
  std::vector<RecordedRequest> Requests() const;
  // How many requests named the gateway call `method` (as they arrived).
  std::size_t Calls(const std::string& method) const;
  bool Stopping() const { return stopping_; }

  // Sleeps up to `d`, returning early once the server is stopping.
  void Pause(std::chrono::milliseconds d) const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace orvalen::test
