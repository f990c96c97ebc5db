// HttpTransport: the one thing the clients need from HTTP, a GET that yields
// the whole body or says why it could not. Production code uses
// CurlHttpClient; tests and benchmarks may hand in their own.
#pragma once

#include <string>

namespace orvalen {

struct HttpResult {
  enum class Failure {
    None,
    NameNotFound,          // the server's name is not known
    Refused,               // the server refused the connection
    Unreachable,           // no connection for another reason (no route, network down)
    Proxy,                 // the proxy could not be reached, or would not go on
    Timeout,               // connected (or trying) but no answer in time
    Reset,                 // the connection broke off before the answer was whole
    CertificateUntrusted,  // https: signed by no one this machine trusts
    CertificateExpired,    // https: out of its dates
    CertificateWrongHost,  // https: made for another host
    Tls,                   // https: no secure connection for another reason
    Transport,             // any other failure to get an answer
    Status,                // an HTTP error status or a redirect
    TooLarge,
  };

  Failure failure = Failure::None;
  long status = 0;           // HTTP status when one was received
  std::string body;          // the whole body, only on success
  std::string content_type;  // as the answer named it
  std::string error;         // human-readable reason, empty on success
  std::string proxy;         // "host:port" of the proxy the call went through, if any

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
