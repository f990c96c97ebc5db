// Pictures the sandbox serves: seller credit badges (under /newrank/) and
// item pictures (under /pic/), as GIF files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sandbox/Catalogue.h"

namespace orvalen::sandbox {

// The level a badge file name stands for, if any.
std::optional<int> BadgeLevel(std::string_view file_name);
// The badge as a GIF: 1 to 5 hearts, diamonds, crowns or golden crowns, 16 px high.
std::string BadgeGif(int level);

// A 160 x 160 picture for an item, in its category's colours.
std::string ItemPictureGif(const Item& item, const Category& category);

}  // namespace orvalen::sandbox
