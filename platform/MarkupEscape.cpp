#include "platform/MarkupEscape.h"

namespace orvalen {

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '\r':  // a parser turns a bare CR into LF
        out += "&#13;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace orvalen
