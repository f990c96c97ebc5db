#include "marketdata/Sellers.h"

#include <charconv>

namespace orvalen {

std::string SellerLocation(const std::string& state, const std::string& city) {
  return city == state ? city : state + city;
}

int CreditLevelOf(std::string_view level) {
  int n = 0;
  const auto [end, ec] = std::from_chars(level.data(), level.data() + level.size(), n);
  return ec == std::errc() && end == level.data() + level.size() ? n : 0;
}

}  // namespace orvalen
