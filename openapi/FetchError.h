// FetchError: why a client component's last Fetch failed; FetchResult: what
// a Fetch gives back, the results or the reason. FailureWords turns a
// FetchError into words for the user.
#pragma once

#include <string>

#include "platform/HttpTransport.h"

namespace orvalen {

struct FetchError {
  enum class Kind {
    None,          // the last call succeeded (or none was made)
    Precondition,  // a required request value is empty or unusable; nothing was sent
    Signing,       // the signature could not be computed; nothing was sent
    // No answer, as HttpResult::Failure says why.
    NameNotFound,
    Refused,
    Unreachable,
    Proxy,
    Timeout,
    Reset,
    CertificateUntrusted,
    CertificateExpired,
    CertificateWrongHost,
    Tls,
    Transport,
    HttpStatus,  // an HTTP error status or a redirect
    TooLarge,
    // An answer, but not the platform's.
    HtmlPage,       // a web page (a network's login page, a proxy's notice)
    NotWellFormed,  // not XML
    Gateway,        // the gateway answered with its error element
    NoMarker,       // a well-formed answer without the expected element
    Parse,          // an answer element held more than plain text
  };

  Kind kind = Kind::None;
  std::string message;       // the detail, in English, for logs and standard error
  std::string gateway_code;  // the gateway's error code, for Kind::Gateway
  long status = 0;           // the HTTP status, for Kind::HttpStatus
  std::string proxy;         // "host:port" of the proxy the call went through, if any
};

// The failure of a GET, as a FetchError; None for a success.
FetchError FromHttp(const HttpResult& result);

// The body is a web page rather than an XML document: a network that sends
// its own page in place of every answer (a login page) gives one.
bool IsWebPage(const std::string& content_type, const std::string& body);

// The entries a call found (the component's storage, valid until its next
// Fetch), or, when `results` is null, why there are none.
template <class Results>
struct FetchResult {
  const Results* results = nullptr;
  FetchError error;
  explicit operator bool() const { return results != nullptr; }
};

}  // namespace orvalen
