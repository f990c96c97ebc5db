#include "sandbox/AnswerSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace orvalen::sandbox {

FieldSet::FieldSet(std::string_view fields) : names_(SplitList(fields)) {}

bool FieldSet::Has(std::string_view name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

bool FieldSet::HasChild(std::string_view parent, std::string_view child) const {
  return Has(parent) || Has(std::string(parent) + "." + std::string(child));
}

bool FieldSet::HasAnyOf(std::string_view parent) const {
  const std::string prefix = std::string(parent) + ".";
  return Has(parent) || std::any_of(names_.begin(), names_.end(),
                                    [&](const std::string& n) { return n.starts_with(prefix); });
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find(separator, pos), text.size());
    if (end > pos) out.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

std::optional<long> ParseNumber(std::string_view text) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<long> ParseCents(std::string_view text) {
  const std::size_t dot = text.find('.');
  const auto whole = ParseNumber(text.substr(0, dot));
  if (!whole) return std::nullopt;
  if (dot == std::string_view::npos) return *whole * 100;
  const std::string_view frac = text.substr(dot + 1);
  const auto f = ParseNumber(frac);
  if (!f || frac.size() > 2) return std::nullopt;
  return *whole * 100 + (frac.size() == 1 ? *f * 10 : *f);
}

std::string Money(long cents) {
  std::string text = std::to_string(cents / 100);
  text.push_back('.');
  text.push_back(static_cast<char>('0' + cents % 100 / 10));
  text.push_back(static_cast<char>('0' + cents % 10));
  return text;
}

std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0f]);
    }
  }
  return out;
}

std::string LinkToken(std::string_view seed) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(64, '0');
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a, continued over four rounds
  for (int round = 0; round < 4; ++round) {
    for (const unsigned char c : seed) h = (h ^ c) * 1099511628211ull;
    h = (h ^ static_cast<unsigned>(round)) * 1099511628211ull;
    for (int digit = 0; digit < 16; ++digit) {
      out[round * 16 + digit] = kHex[(h >> (60 - 4 * digit)) & 0xf];
    }
  }
  return out;
}

}  // namespace orvalen::sandbox
