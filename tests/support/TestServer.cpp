#include "support/TestServer.h"

#include <stdexcept>

namespace orvalen::test {

TestServer::TestServer() {
  server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
    std::lock_guard lock(mutex_);
    requests_.push_back({req.method, req.path, req.target, req.params});
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server_.set_tcp_nodelay(true);
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("test server could not bind");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() is a no-op until the accept loop runs, so wait for it.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() {
  stopping_ = true;
  server_.stop();
  thread_.join();
}

void TestServer::Handle(const std::string& path, httplib::Server::Handler handler) {
  server_.Get(path, handler);
  server_.Post(path, std::move(handler));
}

void TestServer::Serve(const std::string& path, std::string body, std::string content_type) {
  Handle(path, [body = std::move(body), type = std::move(content_type)](const httplib::Request&,
                                                                        httplib::Response& res) {
    res.set_content(body, type.c_str());
  });
}

std::string TestServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> TestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void TestServer::Pause(std::chrono::milliseconds d) const {
  const auto until = std::chrono::steady_clock::now() + d;
  while (!stopping_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::size_t TestServer::Calls(const std::string& method) const {
  std::lock_guard lock(mutex_);
  std::size_t n = 0;
  for (const RecordedRequest& r : requests_) {
    const auto it = r.params.find("method");
    if (it != r.params.end() && it->second == method) ++n;
  }
  return n;
}

}  // namespace orvalen::test
