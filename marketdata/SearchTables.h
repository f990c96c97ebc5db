// The item search's fixed lists: the sort orders and the locations, as the
// search bar shows them, each with the request value it sends (the credit
// grades are in CreditGrades.h).
#pragma once

#include <span>
#include <string_view>

namespace orvalen {

struct SortChoice {
  std::string_view text;  // as shown in the sort combo box
  std::string_view key;   // the `sort` value sent
};

std::span<const SortChoice> SortChoices();      // 6 entries
std::span<const std::string_view> AreaItems();  // 63 entries, "所有地区" first
// The `area` value for location item `index`: a group of places for items
// 0 to 4, the item's own text from 5 on.
std::string_view AreaValue(int index);

}  // namespace orvalen
