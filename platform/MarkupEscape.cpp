#include "platform/MarkupEscape.h"

namespace orvalen {
namespace {

std::string_view Reference(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:  // '\r': a parser turns a bare CR into LF
      return "&#13;";
  }
}

bool NeedsReference(char c) {
  return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c == '\r';
}

}  // namespace

void AppendEscapedMarkup(std::string& out, std::string_view text) {
  // Runs of plain text are copied whole; most values hold nothing to escape.
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!NeedsReference(text[i])) continue;
    out.append(text.substr(run, i - run)).append(Reference(text[i]));
    run = i + 1;
  }
  out.append(text.substr(run));
}

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedMarkup(out, text);
  return out;
}

}  // namespace orvalen
