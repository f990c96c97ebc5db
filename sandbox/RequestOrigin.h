// RequestOrigin: the scheme, host and port a client reached the sandbox by,
// for the addresses in what it serves (the gateway in the configuration
// document, the links in answers). The Host header says it, as the client
// wrote it (a name, an address, an IPv6 address in brackets); a missing or
// malformed one gives way to the address the connection reached.
//
//   OriginOf(request)            // "http://[::1]:8970", "http://sandbox.lan:8970"
//   UrlHost("::1")               // "[::1]": an address as a URL holds it
#pragma once

#include <string>
#include <string_view>

#include "sandbox/HttpMessage.h"

namespace orvalen::sandbox {

std::string OriginOf(const HttpRequest& request);
std::string UrlHost(std::string_view address);

}  // namespace orvalen::sandbox
