// HttpMessage: what the sandbox's HTTP server hands its handler and what the
// handler answers, free of the server library underneath.
//
//   HttpReply Serve(const HttpRequest& req) {
//     if (req.path == "/") return HttpReply::Text(200, "text/html", "<p>hi</p>");
//     HttpReply slow = HttpReply::Text(200, "text/plain", "");
//     slow.pieces = [](std::size_t n) -> std::optional<HttpPiece> {  // streamed, chunked
//       if (n == 3) return std::nullopt;
//       return HttpPiece{std::chrono::seconds(1), "tick\n"};
//     };
//     return slow;
//   }
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvalen::sandbox {

struct HttpRequest {
  std::string method;  // "GET", "POST", ...
  std::string target;  // as received: path and query
  std::string path;    // the target up to "?", still encoded
  std::string query;   // the target after "?", still encoded
  std::string content_type;
  std::string host;   // the Host header as received
  std::string local;  // the address and port the connection reached, "[::1]:8970" for IPv6
  std::string body;
};

// One piece of a streamed body: sent after `delay`; `cut` closes the
// connection after it, leaving the body unfinished, and `reset` with a
// reset rather than an orderly close.
struct HttpPiece {
  std::chrono::milliseconds delay{0};
  std::string data;
  bool cut = false;
  bool reset = false;
};

struct HttpReply {
  int status = 200;
  std::string content_type;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  std::chrono::milliseconds delay{0};  // before anything is sent
  // When set, the body is sent in pieces (chunked) instead of `body`:
  // piece n, or nullopt after the last.
  std::function<std::optional<HttpPiece>(std::size_t n)> pieces;
  // For the log: "ok", a refusal's code, ...; empty means the status.
  std::string outcome;
  // A whole body is sent gzip-compressed when the request accepts gzip (and
  // it is not a picture); with `compress_unasked`, whatever the request says.
  bool compress_unasked = false;

  static HttpReply Text(int status, std::string content_type, std::string body) {
    HttpReply r;
    r.status = status;
    r.content_type = std::move(content_type);
    r.body = std::move(body);
    return r;
  }
};

}  // namespace orvalen::sandbox
