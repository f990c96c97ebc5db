#include "support/ForwardProxy.h"

#include <stdexcept>

namespace orvalen::test {

ForwardProxy::ForwardProxy(int origin_port) : origin_port_(origin_port) {
  const auto forward = [this](const httplib::Request& req, httplib::Response& res) {
    Forward(req, res);
  };
  server_.Get(".*", forward);
  server_.Post(".*", forward);
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("proxy could not bind");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ForwardProxy::~ForwardProxy() {
  server_.stop();
  thread_.join();
}

std::vector<std::string> ForwardProxy::Seen() const {
  const std::lock_guard lock(mutex_);
  return seen_;
}

bool ForwardProxy::SawPathLike(const std::string& part) const {
  const std::lock_guard lock(mutex_);
  for (const std::string& address : seen_) {
    if (address.find(part) != std::string::npos) return true;
  }
  return false;
}

// "http://host:port/path?query" asked of the proxy: the path and query go
// to the origin, with the host the client named.
void ForwardProxy::Forward(const httplib::Request& req, httplib::Response& res) {
  {
    const std::lock_guard lock(mutex_);
    seen_.push_back(req.target);
  }
  const std::size_t authority = req.target.find("://");
  const std::size_t path = authority == std::string::npos ? 0 : req.target.find('/', authority + 3);
  const std::string target = path == std::string::npos ? "/" : req.target.substr(path);
  httplib::Client origin("127.0.0.1", origin_port_);
  origin.set_decompress(false);
  httplib::Headers headers{{"Host", req.get_header_value("Host")}};
  const auto answer = req.method == "POST" ? origin.Post(target, headers, req.body,
                                                         req.get_header_value("Content-Type"))
                                           : origin.Get(target, headers);
  if (!answer) {
    res.status = 502;
    return;
  }
  res.status = answer->status;
  res.set_content(answer->body, answer->get_header_value("Content-Type"));
}

}  // namespace orvalen::test
