// SearchCache: remembers the matches of recent item searches, so that
// paging through one search, or the same search from many clients, scans the
// catalogue once. Thread-safe; bounded in size.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "sandbox/ItemSearch.h"

namespace orvalen::sandbox {

class SearchCache {
 public:
  explicit SearchCache(const Catalogue& catalogue, std::size_t capacity = 256)
      : catalogue_(catalogue), capacity_(capacity) {}

  SearchPage Search(const ItemFilter& query);

 private:
  using Matches = std::shared_ptr<const std::vector<const Item*>>;

  const Catalogue& catalogue_;
  std::size_t capacity_;
  std::mutex mutex_;
  std::unordered_map<std::string, Matches> entries_;
};

}  // namespace orvalen::sandbox
