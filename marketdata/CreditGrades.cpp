#include "marketdata/CreditGrades.h"

#include <array>

namespace orvalen {

std::span<const std::string_view> CreditKeys() {
  static constexpr std::string_view kKeys[] = {
      "1heart",       "2heart",       "3heart",       "4heart",       "5heart",
      "1diamond",     "2diamond",     "3diamond",     "4diamond",     "5diamond",
      "1crown",       "2crown",       "3crown",       "4crown",       "5crown",
      "1goldencrown", "2goldencrown", "3goldencrown", "4goldencrown", "5goldencrown"};
  return kKeys;
}

std::optional<int> CreditLevel(std::string_view key) {
  const auto keys = CreditKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

std::string BadgeFileName(int level) {
  static constexpr std::array<std::string_view, 4> kStems = {"b_red_", "s_blue_", "s_cap_",
                                                             "s_crown_"};
  if (level < 1 || level > 20) return "";
  return std::string(kStems[(level - 1) / 5]) + std::to_string((level - 1) % 5 + 1) + ".gif";
}

std::string CreditGradeName(int level) {
  static constexpr std::array<std::string_view, 4> kWords = {"心", "钻", "皇冠", "金冠"};
  if (level < 1 || level > 20) return "";
  std::string name = std::to_string((level - 1) % 5 + 1);
  name += kWords[(level - 1) / 5];
  return name;
}

}  // namespace orvalen
