#include "platform/ProxySettings.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <optional>

namespace orvalen {
namespace {

constexpr const char* kLoopback[] = {"localhost", "127.0.0.0/8", "::1"};

std::string Variable(const ProxySettings::Lookup& lookup, const char* lower, const char* upper) {
  for (const char* name : {lower, upper}) {
    const char* value = lookup(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    std::string item = list.substr(start, end - start);
    item.erase(0, item.find_first_not_of(" \t"));
    item.erase(item.find_last_not_of(" \t") + 1);
    if (!item.empty()) items.push_back(item);
    start = end + 1;
  }
  return items;
}

// A no_proxy entry as the web engine's bypass rules say it: a domain
// covers itself and every name below it.
std::vector<std::string> BypassRules(const std::string& entry) {
  const bool address = entry.find_first_not_of("0123456789./:[]") == std::string::npos ||
                       entry.find(':') != std::string::npos;
  if (address) return {entry};
  const std::string domain = entry.front() == '.' ? entry.substr(1) : entry;
  return {domain, "*." + domain};
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Unbracketed(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host.remove_prefix(1);
    host.remove_suffix(1);
  }
  return host;
}

// An address of either family, as bytes; none for a name.
std::optional<std::vector<unsigned char>> AddressBytes(std::string_view text) {
  const std::string s(Unbracketed(text));
  unsigned char bytes[16];
  if (inet_pton(AF_INET, s.c_str(), bytes) == 1)
    return std::vector<unsigned char>(bytes, bytes + 4);
  if (inet_pton(AF_INET6, s.c_str(), bytes) == 1)
    return std::vector<unsigned char>(bytes, bytes + 16);
  return std::nullopt;
}

// `host` an address within `entry`, an address or a range ("10.0.0.0/8").
bool InRange(const std::string& host, std::string_view entry) {
  const std::size_t slash = entry.find('/');
  const auto address = AddressBytes(host);
  const auto range = AddressBytes(entry.substr(0, slash));
  if (!address || !range || address->size() != range->size()) return false;
  int bits = static_cast<int>(range->size()) * 8;
  if (slash != std::string_view::npos) {
    const std::string prefix(entry.substr(slash + 1));
    if (prefix.empty() || prefix.find_first_not_of("0123456789") != std::string::npos) return false;
    bits = std::min(bits, std::stoi(prefix));
  }
  for (int i = 0; i < bits; ++i) {
    const int bit = 7 - i % 8;
    if ((((*address)[i / 8] >> bit) & 1) != (((*range)[i / 8] >> bit) & 1)) return false;
  }
  return true;
}

// `host` the domain `entry` names (".example.com" or "example.com") or a
// name below it.
bool InDomain(const std::string& host, std::string_view entry) {
  const std::string domain = Lower(entry.starts_with('.') ? entry.substr(1) : entry);
  if (domain.empty() || AddressBytes(domain)) return false;
  return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                            host[host.size() - domain.size() - 1] == '.');
}

}  // namespace

ProxySettings ProxySettings::FromEnvironment() {
  return FromEnvironment([](const char* name) -> const char* { return std::getenv(name); });
}

ProxySettings ProxySettings::FromEnvironment(Lookup lookup) {
  ProxySettings s;
  const std::string all = Variable(lookup, "all_proxy", "ALL_PROXY");
  s.http_ = Variable(lookup, "http_proxy", "HTTP_PROXY");
  s.https_ = Variable(lookup, "https_proxy", "HTTPS_PROXY");
  if (s.http_.empty()) s.http_ = all;
  if (s.https_.empty()) s.https_ = all;
  s.direct_ = SplitList(Variable(lookup, "no_proxy", "NO_PROXY"));
  if (std::find(s.direct_.begin(), s.direct_.end(), "*") != s.direct_.end()) {
    s.http_.clear();
    s.https_.clear();
  }
  return s;
}

std::string ProxySettings::ProxyFor(std::string_view scheme, std::string_view host) const {
  if (GoesDirect(host)) return {};
  return scheme == "https" ? https_ : http_;
}

bool ProxySettings::GoesDirect(std::string_view host) const {
  const std::string name = Lower(Unbracketed(host));
  const auto matches = [&name](std::string_view entry) {
    return entry == "*" || InRange(name, entry) || InDomain(name, entry);
  };
  return std::any_of(std::begin(kLoopback), std::end(kLoopback), matches) ||
         std::any_of(direct_.begin(), direct_.end(), matches);
}

std::vector<std::string> ProxySettings::ChromiumFlags() const {
  if (http_.empty() && https_.empty()) return {"--no-proxy-server"};
  std::string servers;
  if (!http_.empty()) servers += "http=" + http_;
  if (!https_.empty()) {
    if (!servers.empty()) servers += ';';
    servers += "https=";
    servers += https_;
  }
  // The engine goes direct to loopback on its own; the list says so too.
  std::string bypass = "localhost;127.0.0.0/8;[::1]";
  for (const std::string& entry : direct_) {
    for (const std::string& rule : BypassRules(entry)) bypass += ";" + rule;
  }
  return {"--proxy-server=" + servers, "--proxy-bypass-list=" + bypass};
}

std::string ProxySettings::Address(const std::string& proxy) {
  std::string_view rest = proxy;
  if (const std::size_t scheme = rest.find("://"); scheme != std::string_view::npos) {
    rest.remove_prefix(scheme + 3);
  }
  if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos)
    rest.remove_prefix(at + 1);
  return std::string(rest.substr(0, rest.find('/')));
}

}  // namespace orvalen
