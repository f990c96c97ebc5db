// The marketplace's seller credit grades: levels 1 to 20, five hearts, then
// five diamonds, five crowns and five golden crowns. Each level has a key
// used in searches and a badge picture under the image host's /newrank/.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvalen {

// The 20 search keys, "1heart" .. "5goldencrown"; key i is level i + 1.
std::span<const std::string_view> CreditKeys();
// The level (1..20) of a search key, if it is one.
std::optional<int> CreditLevel(std::string_view key);
// The badge file of a level 1..20 ("b_red_1.gif" .. "s_crown_5.gif"); ""
// for any other level.
std::string BadgeFileName(int level);
// A level 1..20 in words, as a shopper says it: "3心", "2钻", "1皇冠",
// "5金冠"; "" for any other level.
std::string CreditGradeName(int level);

}  // namespace orvalen
