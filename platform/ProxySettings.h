// ProxySettings: which proxy a request goes through, read from the
// environment the way browsers and libcurl read it, with one rule added:
// this machine itself (localhost, 127.0.0.0/8, ::1) is never reached
// through a proxy, whatever the user's own no_proxy says or leaves out.
//
//   const ProxySettings proxies = ProxySettings::FromEnvironment(lookup);
//   proxies.ProxyFor("http", "shop.example")  // "http://proxy.example:3128", or "" to go direct
//   proxies.ChromiumFlags()                   // the same for the web engine's command line
//
// http_proxy and HTTP_PROXY (the lower case wins), https_proxy and
// HTTPS_PROXY, then all_proxy and ALL_PROXY for either scheme; no_proxy and
// NO_PROXY name hosts, domains (".example.com" or "example.com" for it and
// below it), addresses and address ranges (CIDR) that go direct, "*" all.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalen {

class ProxySettings {
 public:
  // An environment variable's value, or null.
  using Lookup = std::function<const char*(const char* name)>;

  ProxySettings() = default;  // no proxy at all
  static ProxySettings FromEnvironment(Lookup lookup);
  static ProxySettings FromEnvironment();  // the process's own

  // The proxy for a request of `scheme` ("http" or "https") to `host` (a
  // name, an address, or an IPv6 address in brackets); "" to go direct.
  std::string ProxyFor(std::string_view scheme, std::string_view host) const;
  // Whether `host` is one that never goes through a proxy.
  bool GoesDirect(std::string_view host) const;
  // The web engine's switches for the same settings: --proxy-server and
  // --proxy-bypass-list, or --no-proxy-server.
  std::vector<std::string> ChromiumFlags() const;
  // "host:port" of a proxy address, as a person names it.
  static std::string Address(const std::string& proxy);

 private:
  std::string http_, https_;
  std::vector<std::string> direct_;  // the user's no_proxy entries
};

}  // namespace orvalen
