// Info: one card of the results page; PInfo: the cards of one search.
#pragma once

#include <string>
#include <vector>

namespace orvalen {

struct Info {
  std::string pic_url, price, title, click_url, nick, location, badge_url;
};

using PInfo = std::vector<Info>;

}  // namespace orvalen
