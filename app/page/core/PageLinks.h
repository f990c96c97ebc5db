// The results page's own link addresses, written into the page by
// ResultsPage and read back by LinkDecision when the view reports a click.
//
//   "http://back/" and "http://next/"   the paging links
//   "http://" + seller nick + "/"       a seller's link
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalen {

inline constexpr std::string_view kBackLink = "http://back/";
inline constexpr std::string_view kNextLink = "http://next/";

inline std::string SellerLink(const std::string& nick) {
  return "http://" + nick + "/";
}

// The nick of an address shaped like a seller's link ("http://" + at least
// two bytes + "/"), as the view reports it.
inline std::optional<std::string> SellerOfLink(std::string_view address) {
  if (address.size() <= 8 || !address.starts_with("http://") || !address.ends_with('/'))
    return std::nullopt;
  return std::string(address.substr(7, address.size() - 8));
}

}  // namespace orvalen
