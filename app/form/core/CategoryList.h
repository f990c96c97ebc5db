// The category tree's fixed data: the list shown when the top-level
// categories could not be fetched, and the names never shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalen {

struct CategoryNode {
  std::string name;
  long id;
};

// "所有类目" (id 0, all categories) and the 54 top-level categories.
std::vector<CategoryNode> FixedCategoryList();
// True for the top-level names the tree leaves out.
bool IsExcludedCategory(std::string_view name);

}  // namespace orvalen
