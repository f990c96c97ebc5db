// EscapeMarkup: text made safe for XML or HTML element content and quoted
// attribute values: &, <, >, " and ' become character references, and so
// does a carriage return, which a parser would otherwise read as a line feed.
#pragma once

#include <string>
#include <string_view>

namespace orvalen {

std::string EscapeMarkup(std::string_view text);
// The same, appended to `out`.
void AppendEscapedMarkup(std::string& out, std::string_view text);

}  // namespace orvalen
