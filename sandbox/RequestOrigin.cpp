#include "sandbox/RequestOrigin.h"

#include <algorithm>
#include <cctype>

namespace orvalen::sandbox {
namespace {

bool IsDigits(std::string_view s) {
  return !s.empty() && s.size() <= 5 && std::all_of(s.begin(), s.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// host[:port], where host is a name of letters, digits, '-', '.' and '_',
// or an IPv6 address in brackets: nothing that could carry markup or
// another address into a document.
bool IsHostHeader(std::string_view h) {
  if (h.empty() || h.size() > 255) return false;
  std::string_view host = h, port;
  if (h.front() == '[') {
    const std::size_t close = h.find(']');
    if (close == std::string_view::npos) return false;
    host = h.substr(1, close - 1);
    const std::string_view rest = h.substr(close + 1);
    if (!rest.empty() && (rest.front() != ':' || !IsDigits(rest.substr(1)))) return false;
    return !host.empty() &&
           host.find_first_not_of("0123456789abcdefABCDEF:.") == std::string_view::npos;
  }
  if (const std::size_t colon = h.find(':'); colon != std::string_view::npos) {
    host = h.substr(0, colon);
    port = h.substr(colon + 1);
    if (!IsDigits(port)) return false;
  }
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
  });
}

}  // namespace

std::string OriginOf(const HttpRequest& request) {
  return "http://" + (IsHostHeader(request.host) ? request.host : request.local);
}

std::string UrlHost(std::string_view address) {
  const bool v6 = address.find(':') != std::string_view::npos && !address.starts_with('[');
  if (!v6) return std::string(address);
  std::string bracketed(1, '[');
  bracketed += address;
  bracketed += ']';
  return bracketed;
}

}  // namespace orvalen::sandbox
