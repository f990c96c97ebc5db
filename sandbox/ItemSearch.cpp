#include "sandbox/ItemSearch.h"

#include <algorithm>
#include <array>

namespace orvalen::sandbox {
namespace {

bool Matches(const Catalogue& cat, const Item& item, const ItemFilter& q) {
  if (q.cid != 0 && item.cid != q.cid && item.top_cid != q.cid) return false;
  if (q.min_price_cents && item.price_cents < *q.min_price_cents) return false;
  if (q.max_price_cents && item.price_cents > *q.max_price_cents) return false;
  const Seller& seller = cat.sellers()[item.seller];
  const int level = seller.seller_credit.level;
  if (level < q.min_level || level > q.max_level) return false;
  if (!q.areas.empty() && std::none_of(q.areas.begin(), q.areas.end(), [&](const std::string& a) {
        return a == seller.state || a == seller.city;
      })) {
    return false;
  }
  return std::all_of(q.terms.begin(), q.terms.end(), [&](const std::string& t) {
    return item.folded_title.find(t) != std::string::npos;
  });
}

// Sort key of an item: larger first for the _desc orders.
long SortValue(const Catalogue& cat, const Item& item, SortKey key) {
  switch (key) {
    case SortKey::PriceDesc:
    case SortKey::PriceAsc:
      return item.price_cents;
    case SortKey::CreditDesc:
    case SortKey::CreditAsc:
      return cat.sellers()[item.seller].seller_credit.score;
    case SortKey::CommissionNumDesc:
    case SortKey::CommissionNumAsc:
      return item.commission_num;
    case SortKey::Default:
      break;
  }
  return 0;
}

bool Descending(SortKey key) {
  return key == SortKey::PriceDesc || key == SortKey::CreditDesc ||
         key == SortKey::CommissionNumDesc;
}

}  // namespace

std::optional<SortKey> ParseSortKey(std::string_view key) {
  static constexpr std::pair<std::string_view, SortKey> kKeys[] = {
      {"price_desc", SortKey::PriceDesc},
      {"price_asc", SortKey::PriceAsc},
      {"credit_desc", SortKey::CreditDesc},
      {"credit_asc", SortKey::CreditAsc},
      {"commissionNum_desc", SortKey::CommissionNumDesc},
      {"commissionNum_asc", SortKey::CommissionNumAsc}};
  for (const auto& [name, value] : kKeys) {
    if (name == key) return value;
  }
  return std::nullopt;
}

SearchPage Search(const Catalogue& cat, const ItemFilter& q) {
  return PageOf(Matching(cat, q), q);
}

std::vector<const Item*> Matching(const Catalogue& cat, const ItemFilter& q) {
  std::vector<const Item*> hits;
  for (const Item& item : cat.items()) {
    if (Matches(cat, item, q)) hits.push_back(&item);
  }
  if (q.sort != SortKey::Default) {
    const bool desc = Descending(q.sort);
    std::stable_sort(hits.begin(), hits.end(), [&](const Item* a, const Item* b) {
      const long va = SortValue(cat, *a, q.sort), vb = SortValue(cat, *b, q.sort);
      return desc ? va > vb : va < vb;
    });
  }
  return hits;
}

SearchPage PageOf(const std::vector<const Item*>& hits, const ItemFilter& q) {
  SearchPage page;
  page.total = hits.size();
  const std::size_t first = static_cast<std::size_t>(q.page_no - 1) * q.page_size;
  if (first < hits.size()) {
    const std::size_t last = std::min(hits.size(), first + q.page_size);
    page.items.assign(hits.begin() + first, hits.begin() + last);
  }
  return page;
}

std::string MatchKey(const ItemFilter& q) {
  std::string key;
  for (const std::string& t : q.terms) key += t + '\x1f';
  key += '\x1e';
  for (const std::string& a : q.areas) key += a + '\x1f';
  key += '\x1e' + std::to_string(q.cid) + ' ' + std::to_string(q.min_price_cents.value_or(-1)) +
         ' ' + std::to_string(q.max_price_cents.value_or(-1)) + ' ' + std::to_string(q.min_level) +
         ' ' + std::to_string(q.max_level) + ' ' + std::to_string(static_cast<int>(q.sort));
  return key;
}

std::string Highlight(std::string_view title, std::string_view folded,
                      const std::vector<std::string>& terms) {
  std::vector<bool> marked(title.size(), false);
  bool any = false;
  for (const std::string& t : terms) {
    for (std::size_t at = folded.find(t); !t.empty() && at != std::string_view::npos;
         at = folded.find(t, at + t.size())) {
      std::fill(marked.begin() + at, marked.begin() + at + t.size(), true);
      any = true;
    }
  }
  if (!any) return std::string(title);
  // Copies the title in runs, each marked run wrapped once.
  std::string out;
  out.reserve(title.size() + 32);
  for (std::size_t i = 0; i < title.size();) {
    std::size_t end = i;
    while (end < title.size() && marked[end] == marked[i]) ++end;
    if (marked[i]) out += "<span class=H>";
    out.append(title.substr(i, end - i));
    if (marked[i]) out += "</span>";
    i = end;
  }
  return out;
}

std::vector<std::string> KeywordTerms(std::string_view keyword) {
  std::vector<std::string> terms;
  std::size_t pos = 0;
  while (pos < keyword.size()) {
    const std::size_t start = keyword.find_first_not_of(" \t", pos);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(keyword.find_first_of(" \t", start), keyword.size());
    std::string term(keyword.substr(start, end - start));
    for (char& c : term) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    terms.push_back(std::move(term));
    pos = end;
  }
  return terms;
}

}  // namespace orvalen::sandbox
