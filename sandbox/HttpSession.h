// HttpSession: one connection of HttpServer, from its first byte to its
// close: reads requests under the server's bounds, answers them through the
// handler (whole, or streamed in pieces), keeps the connection alive while
// the client wants it and refuses what is oversized or unreadable. Every
// answer carries a Date; a whole one is gzip-compressed when the client
// accepts it (see HttpReply).
#pragma once

#include <atomic>
#include <boost/asio/ip/tcp.hpp>

#include "sandbox/HttpServer.h"

namespace orvalen::sandbox {

// What every session of one server shares; it outlives them all.
struct HttpContext {
  HttpLimits limits;
  HttpServer::Handler handler;
  HttpServer::Log log;
  HttpServer::Clock clock;  // for the Date header
  std::atomic<std::size_t> connections{0};
};

// Serves `socket` until it closes; the session keeps itself alive.
void StartHttpSession(boost::asio::ip::tcp::socket socket, HttpContext& context);

}  // namespace orvalen::sandbox
