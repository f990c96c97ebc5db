#include "sandbox/SearchCache.h"

namespace orvalen::sandbox {

SearchPage SearchCache::Search(const ItemFilter& query) {
  const std::string key = MatchKey(query);
  Matches matches;
  {
    const std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it != entries_.end()) matches = it->second;
  }
  if (!matches) {
    // Scanned outside the lock: two clients may both scan once; both agree.
    matches = std::make_shared<const std::vector<const Item*>>(Matching(catalogue_, query));
    const std::lock_guard lock(mutex_);
    if (entries_.size() >= capacity_) entries_.clear();  // crude, but keeps memory bounded
    entries_.emplace(key, matches);
  }
  return PageOf(*matches, query);
}

}  // namespace orvalen::sandbox
