// Info: one card of the results page; PInfo: the cards of one search.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvalen {

struct Info {
  std::string pic_url, price, title, click_url, nick, location, badge_url;
  std::string credit;  // the seller's credit grade in words ("3心"), for the badge's text
};

using PInfo = std::vector<Info>;

// Cards on one results page (a page asks the platform for this many items).
inline constexpr std::size_t kCardsPerPage = 40;
// Rows a search keeps: room for three pages of cards and one more.
inline constexpr std::size_t kRowSlots = 121;

}  // namespace orvalen
