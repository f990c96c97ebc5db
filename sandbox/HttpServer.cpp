#include "sandbox/HttpServer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <thread>
#include <vector>

#include "sandbox/HttpSession.h"

namespace orvalen::sandbox {

namespace net = boost::asio;
using tcp = net::ip::tcp;

// Destroyed in reverse: the acceptor and timer, then the I/O context with
// every session still in it, then the context the sessions shared.
struct HttpServer::Impl {
  Impl(HttpLimits limits, Handler handler, Log log, Clock clock) {
    context.limits = limits;
    context.handler = std::move(handler);
    context.log = std::move(log);
    context.clock = std::move(clock);
  }
  void Accept();

  HttpContext context;
  net::io_context io{context.limits.threads};
  tcp::acceptor acceptor{io};
  net::steady_timer retry{io};  // after running out of descriptors
};

void HttpServer::Impl::Accept() {
  acceptor.async_accept(
      net::make_strand(io), [this](boost::system::error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted) return;
        if (ec) {
          // Out of descriptors, most likely: try again in a moment rather than spin.
          retry.expires_after(std::chrono::milliseconds(50));
          retry.async_wait([this](boost::system::error_code e) {
            if (!e) Accept();
          });
          return;
        }
        if (++context.connections > context.limits.max_connections) {
          --context.connections;
          boost::system::error_code ignored;
          socket.close(ignored);
        } else {
          socket.set_option(tcp::no_delay(true), ec);
          StartHttpSession(std::move(socket), context);  // counts itself down when it ends
        }
        Accept();
      });
}

HttpServer::HttpServer(HttpLimits limits, Handler handler, Log log, Clock clock)
    : impl_(std::make_unique<Impl>(limits, std::move(handler), std::move(log), std::move(clock))) {}

HttpServer::~HttpServer() {
  Stop();
}

int HttpServer::Bind(const std::string& host, int port) {
  boost::system::error_code ec;
  const net::ip::address address =
      net::ip::make_address(host == "localhost" ? "127.0.0.1" : host, ec);
  if (ec) return -1;
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  tcp::acceptor& a = impl_->acceptor;
  a.open(endpoint.protocol(), ec);
  if (!ec) a.set_option(tcp::acceptor::reuse_address(true), ec);
  if (!ec) a.bind(endpoint, ec);
  if (!ec) a.listen(net::socket_base::max_listen_connections, ec);
  if (ec) {
    a.close(ec);
    return -1;
  }
  impl_->Accept();
  return a.local_endpoint().port();
}

void HttpServer::Run() {
  running_ = true;
  std::vector<std::thread> helpers;
  for (int i = 1; i < impl_->context.limits.threads; ++i) {
    helpers.emplace_back([this] { impl_->io.run(); });
  }
  impl_->io.run();
  for (std::thread& t : helpers) t.join();
  running_ = false;
}

void HttpServer::Stop() {
  // Open connections are dropped with the I/O context, not drained.
  impl_->io.stop();
}

std::size_t HttpServer::Connections() const {
  return impl_->context.connections;
}

}  // namespace orvalen::sandbox
