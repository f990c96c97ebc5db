// ForwardProxy: an HTTP proxy on 127.0.0.1 for tests. It takes requests in
// the absolute form a client sends a proxy ("GET http://host/path"), keeps
// each address, and answers every one from `origin` (a server on this
// machine), passing the host the client named in its Host header.
//
//   ForwardProxy proxy(sandbox.server().port());
//   ... http_proxy=proxy.Url() ... "http://orvalen.test/x" ...
//   proxy.Seen()   // {"http://orvalen.test/x"}
#pragma once

#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvalen::test {

class ForwardProxy {
 public:
  explicit ForwardProxy(int origin_port);
  ~ForwardProxy();
  ForwardProxy(const ForwardProxy&) = delete;
  ForwardProxy& operator=(const ForwardProxy&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int port() const { return port_; }
  std::vector<std::string> Seen() const;  // the addresses asked for, in order
  bool SawPathLike(const std::string& part) const;

 private:
  void Forward(const httplib::Request& req, httplib::Response& res);

  int origin_port_;
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> seen_;
};

}  // namespace orvalen::test
