#include "platform/WebAddress.h"

#include "openapi/RequestUrl.h"

#include <algorithm>
#include <cctype>

namespace orvalen {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// A registered name (letters, digits, '-', '.', '_' and UTF-8
// for international names) or an IPv6 literal in brackets.
bool IsHost(std::string_view host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    return host.size() > 2 && host.back() == ']' &&
           host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
  }
  return std::all_of(host.begin(), host.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c >= 0x80;
  });
}

bool IsPort(std::string_view port) {
  return !port.empty() && port.size() <= 5 &&
         port.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool IsWebAddress(std::string_view address) {
  if (address.size() > kMaxWebAddress) return false;
  const auto is_control = [](char ch) { return ch != ' ' && IsBlankOrControl(ch); };
  if (std::any_of(address.begin(), address.end(), is_control)) return false;
  if (address.empty() || address.back() == ' ') return false;
  const std::size_t colon = address.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view scheme = address.substr(0, colon);
  if (!EqualsIgnoringCase(scheme, "http") && !EqualsIgnoringCase(scheme, "https")) return false;
  std::string_view rest = address.substr(colon + 1);
  if (!rest.starts_with("//")) return false;
  rest.remove_prefix(2);
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#\\"));
  if (authority.find(' ') != std::string_view::npos) return false;
  if (authority.find('@') != std::string_view::npos) return false;  // user information
  // The port follows the last colon, unless that colon is inside an IPv6 literal.
  const std::size_t port_colon = authority.rfind(':');
  const bool has_port = port_colon != std::string_view::npos &&
                        authority.find(']', port_colon) == std::string_view::npos;
  if (has_port && !IsPort(authority.substr(port_colon + 1))) return false;
  return IsHost(has_port ? authority.substr(0, port_colon) : authority);
}

}  // namespace orvalen
