#include "sandbox/GatewayRequest.h"

#include <algorithm>
#include <cctype>

namespace orvalen::sandbox {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string FormDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

void ParseForm(std::string_view text, Params& into) {
  while (!text.empty()) {
    const std::size_t amp = std::min(text.find('&'), text.size());
    const std::string_view pair = text.substr(0, amp);
    text.remove_prefix(std::min(amp + 1, text.size()));
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? "" : pair.substr(eq + 1);
    if (!name.empty()) into.emplace(FormDecode(name), FormDecode(value));
  }
}

bool IsFormContentType(std::string_view content_type) {
  constexpr std::string_view kForm = "application/x-www-form-urlencoded";
  const std::string_view media = content_type.substr(0, content_type.find(';'));
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const std::size_t first = std::find_if_not(media.begin(), media.end(), blank) - media.begin();
  const std::size_t last = std::find_if_not(media.rbegin(), media.rend(), blank) - media.rbegin();
  if (first + last >= media.size()) return false;
  const std::string_view type = media.substr(first, media.size() - first - last);
  return std::equal(type.begin(), type.end(), kForm.begin(), kForm.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

RequestParams ReadParams(const GatewayRequest& request) {
  RequestParams out;
  ParseForm(request.query, out.params);
  if (request.body.empty() || !IsFormContentType(request.content_type)) return out;
  Params form;
  ParseForm(request.body, form);
  for (const auto& pair : form) {
    if (out.duplicate.empty() && out.params.contains(pair.first)) out.duplicate = pair.first;
  }
  out.params.merge(form);
  return out;
}

}  // namespace orvalen::sandbox
