// ItemSearch: the affiliate item search over a Catalogue, with the filters,
// sort orders and paging the gateway offers.
//
//   ItemFilter q;
//   q.terms = {"mp3"};          // folded: ASCII lower-case
//   q.cid = 1201;               // the category and its sub-categories; 0 = all
//   SearchPage page = Search(catalogue, q);   // page.total, page.items
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/Catalogue.h"

namespace orvalen::sandbox {

enum class SortKey {
  Default,  // catalogue order
  PriceDesc,
  PriceAsc,
  CreditDesc,
  CreditAsc,
  CommissionNumDesc,
  CommissionNumAsc,
};

// "price_desc" and the other five keys the gateway knows; nullopt otherwise.
std::optional<SortKey> ParseSortKey(std::string_view key);

struct ItemFilter {
  std::vector<std::string> terms;  // all must occur in the title
  long cid = 0;
  std::vector<std::string> areas;  // seller state or city; empty = anywhere
  std::optional<long> min_price_cents, max_price_cents;
  int min_level = 1, max_level = 20;
  SortKey sort = SortKey::Default;
  int page_no = 1;
  int page_size = 40;
};

struct SearchPage {
  std::size_t total = 0;
  std::vector<const Item*> items;
};

SearchPage Search(const Catalogue& catalogue, const ItemFilter& query);

// The two halves of Search: every match in sort order, and one page of them.
std::vector<const Item*> Matching(const Catalogue& catalogue, const ItemFilter& query);
SearchPage PageOf(const std::vector<const Item*>& matches, const ItemFilter& query);

// A text that equals another's exactly when both queries match the same
// items in the same order (paging aside).
std::string MatchKey(const ItemFilter& query);

// The title with every occurrence of the (folded) terms wrapped in
// <span class=H>...</span>, as the marketplace's search marks them.
std::string Highlight(std::string_view title, std::string_view folded_title,
                      const std::vector<std::string>& terms);

// Splits a keyword into folded terms at white space.
std::vector<std::string> KeywordTerms(std::string_view keyword);

}  // namespace orvalen::sandbox
