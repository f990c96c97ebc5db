#include "app/form/core/SiteAddresses.h"

#include <algorithm>
#include <string_view>

#include "app/AppSettings.h"
#include "config/SiteConfig.h"

namespace orvalen {

SiteAddresses SiteAddresses::BuiltIn() {
  return {std::string(kSiteRootUrl), std::string(kSecondSiteUrl), std::string(kFooterHost1),
          std::string(kFooterHost2), std::string(kBadgeBaseUrl)};
}

SiteAddresses SiteAddresses::OnPort(int from, int to) const {
  return {MoveLoopbackPort(site_root, from, to), MoveLoopbackPort(second_site, from, to),
          MoveLoopbackPort(footer_host1, from, to), MoveLoopbackPort(footer_host2, from, to),
          MoveLoopbackPort(badge_base, from, to)};
}

std::string MoveLoopbackPort(const std::string& address, int from, int to) {
  const auto scheme = address.find("://");
  const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  const std::size_t end = std::min(address.find('/', start), address.size());
  const std::string_view authority(address.data() + start, end - start);
  std::string port(1, ':');
  port += std::to_string(from);
  if (!authority.ends_with(port)) return address;
  const std::string_view host = authority.substr(0, authority.size() - port.size());
  if (host != "127.0.0.1" && host != "localhost" && host != "[::1]") return address;
  return address.substr(0, start) + std::string(host) + ":" + std::to_string(to) +
         address.substr(end);
}

}  // namespace orvalen
