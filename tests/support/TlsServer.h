// TlsServer: an https server on 127.0.0.1 (a free port) with a certificate
// made for the test, serving `body` as text/xml at every path.
#pragma once

#include <httplib.h>

#include <string>
#include <thread>

#include "support/TestCertificate.h"

namespace orvalen::test {

class TlsServer {
 public:
  explicit TlsServer(const TestCertificate& cert, std::string body = "<rsp/>")
      : server_(cert.cert_file().c_str(), cert.key_file().c_str()) {
    server_.Get(".*", [body = std::move(body)](const auto&, auto& res) {
      res.set_content(body, "text/xml");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TlsServer() {
    server_.stop();
    thread_.join();
  }
  TlsServer(const TlsServer&) = delete;
  TlsServer& operator=(const TlsServer&) = delete;
  std::string Url(const std::string& path = "/") const {
    return "https://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  httplib::SSLServer server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace orvalen::test
