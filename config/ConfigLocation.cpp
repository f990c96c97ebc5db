#include "config/ConfigLocation.h"

#include <cctype>

#include "openapi/RequestUrl.h"

namespace orvalen {
namespace {

// The value as it may appear inside a one-line message.
std::string Quoted(std::string_view value) {
  std::string shown = "'";
  for (const char c : value) shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
  return shown + "'";
}

}  // namespace

bool IsConfigAddress(std::string_view url) {
  if (HasBlankOrControl(url)) return false;
  const std::size_t colon = url.find("://");
  if (colon == std::string_view::npos) return false;
  std::string scheme(url.substr(0, colon));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (scheme != "http" && scheme != "https") return false;
  const std::string_view rest = url.substr(colon + 3);
  const std::string_view host = rest.substr(0, rest.find_first_of("/?#"));
  return !host.empty() && host.front() != ':' && host.find('@') == std::string_view::npos;
}

ConfigChoice ChooseConfigUrl(const std::optional<std::string>& flag, const char* environment,
                             const std::string& builtin) {
  if (flag) {
    if (IsConfigAddress(*flag)) return {*flag, {}};
    return {{}, "--config takes an http or https address, not " + Quoted(*flag)};
  }
  if (environment != nullptr && *environment != '\0') {
    if (IsConfigAddress(environment)) return {environment, {}};
    return {{},
            std::string(kConfigUrlVariable) +
                " holds no http or https address: " + Quoted(environment)};
  }
  return {builtin, {}};
}

}  // namespace orvalen
