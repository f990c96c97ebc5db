// SiteAddresses: the addresses built into the window besides the
// configuration's: the maker's two sites (the footer links and the host
// names they show) and where the credit badges' pictures come from.
//
//   FormServices s;
//   s.site = SiteAddresses::BuiltIn().OnPort(8970, 41234);  // the user's own sandbox port
//
// A build for the local sandbox has them all on its port; when a user's
// sandbox has to listen on another one, every address on this machine and
// on the built-in port moves with it, and nothing else changes.
#pragma once

#include <string>

namespace orvalen {

struct SiteAddresses {
  std::string site_root;     // the first footer link, ending in "/"
  std::string second_site;   // the second footer link
  std::string footer_host1;  // what the first footer link shows ("127.0.0.1:8970")
  std::string footer_host2;
  std::string badge_base;  // the badges' pictures below it, ending in "/"

  static SiteAddresses BuiltIn();
  SiteAddresses OnPort(int from, int to) const;
};

// `address` ("http://HOST:PORT/..." or "HOST:PORT") with the port moved
// from `from` to `to` when HOST is this machine (127.0.0.1, localhost,
// [::1]); otherwise unchanged.
std::string MoveLoopbackPort(const std::string& address, int from, int to);

}  // namespace orvalen
