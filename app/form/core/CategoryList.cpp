#include "app/form/core/CategoryList.h"

#include <algorithm>

#include "marketdata/MarketCategories.h"

namespace orvalen {

std::vector<CategoryNode> FixedCategoryList() {
  std::vector<CategoryNode> nodes{{"所有类目", 0}};
  for (const MarketCategory& c : TopCategories()) nodes.push_back({std::string(c.name), c.id});
  return nodes;
}

bool IsExcludedCategory(std::string_view name) {
  const auto restricted = RestrictedCategories();
  return std::any_of(restricted.begin(), restricted.end(),
                     [&](const MarketCategory& c) { return c.name == name; });
}

}  // namespace orvalen
