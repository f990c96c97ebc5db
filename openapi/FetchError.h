// FetchError: why a client component's last Fetch failed; FetchResult: what
// a Fetch gives back, the results or the reason.
#pragma once

#include <string>

namespace orvalen {

struct FetchError {
  enum class Kind {
    None,           // the last call succeeded (or none was made)
    Precondition,   // a required request value is empty or unusable; nothing was sent
    Signing,        // the signature could not be computed; nothing was sent
    Unreachable,    // no connection to the server
    Timeout,        // no answer in time
    Transport,      // no answer for another reason (connection dropped, body too large)
    HttpStatus,     // an HTTP error status or a redirect
    NotWellFormed,  // the answer is not XML
    Gateway,        // the gateway answered with its error element
    NoMarker,       // a well-formed answer without the expected element
    Parse,          // an answer element held more than plain text
  };

  Kind kind = Kind::None;
  std::string message;
  std::string gateway_code;  // the gateway's error code, for Kind::Gateway
};

// The entries a call found (the component's storage, valid until its next
// Fetch), or, when `results` is null, why there are none.
template <class Results>
struct FetchResult {
  const Results* results = nullptr;
  FetchError error;
  explicit operator bool() const { return results != nullptr; }
};

}  // namespace orvalen
