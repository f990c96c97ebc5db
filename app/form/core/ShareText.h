// ShareText: an item as a shopper pastes it into a chat: its title, its
// price with the unit, and its affiliate click URL, each on a line of its
// own, so that chat programs make the last line a link.
//
//   ShareText(row)   // "2010新款 索尼 MP3\n价格：239.33 元\nhttp://s.click/..."
#pragma once

#include <string>

#include "app/page/core/Info.h"

namespace orvalen {

// The title is the plain text the page shows (the platform's highlight
// markup already gone); lines a value lacks are left out.
std::string ShareText(const Info& row);

}  // namespace orvalen
