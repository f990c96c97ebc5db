// The marketplace's top-level item categories, as the programme knew them:
// the ones a shopper browses, and those the shopping window leaves out.
#pragma once

#include <span>
#include <string_view>

namespace orvalen {

struct MarketCategory {
  std::string_view name;
  long id;
};

// The 54 top-level categories a shopper browses, in the window's order.
std::span<const MarketCategory> TopCategories();
// Six top-level categories of virtual goods and services that the window
// never lists.
std::span<const MarketCategory> RestrictedCategories();

}  // namespace orvalen
