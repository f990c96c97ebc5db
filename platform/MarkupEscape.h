// EscapeMarkup: text made safe for XML or HTML element content and quoted
// attribute values: &, <, >, " and ' become character references.
#pragma once

#include <string>
#include <string_view>

namespace orvalen {

std::string EscapeMarkup(std::string_view text);

}  // namespace orvalen
