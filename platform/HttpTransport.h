// HttpTransport: the one thing the clients need from HTTP, a GET that yields
// the whole body or says why it could not. Production code uses
// CurlHttpClient; tests and benchmarks may hand in their own.
#pragma once

#include <string>

namespace orvalen {

struct HttpResult {
  enum class Failure {
    None,
    Unreachable,  // no connection: the host is unknown or refused it
    Timeout,      // connected (or trying) but no answer in time
    Transport,    // any other failure to get an answer
    Status,       // an HTTP error status or a redirect
    TooLarge,
  };

  Failure failure = Failure::None;
  long status = 0;    // HTTP status when one was received
  std::string body;   // the whole body, only on success
  std::string error;  // human-readable reason, empty on success

  bool ok() const { return failure == Failure::None; }
};

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  virtual HttpResult Get(const std::string& url) = 0;
  // Makes the call in flight, and every later one, fail at once. Safe to call
  // from another thread; used when the program shuts down.
  virtual void Abort() {}
};

}  // namespace orvalen
