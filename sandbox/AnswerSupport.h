// Small helpers the gateway's calls share: the `fields` selection, numbers,
// money and the links an answer carries.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalen::sandbox {

// The `fields` parameter: which answer elements to return. A dotted name
// ("location.city") selects one child of a composite element.
class FieldSet {
 public:
  explicit FieldSet(std::string_view fields);
  bool Has(std::string_view name) const;
  // The composite `parent` is wanted whole, or its `child` by a dotted name.
  bool HasChild(std::string_view parent, std::string_view child) const;
  bool HasAnyOf(std::string_view parent) const;  // whole or any child
  bool empty() const { return names_.empty(); }

 private:
  std::vector<std::string> names_;
};

std::vector<std::string> SplitList(std::string_view text, char separator = ',');
std::optional<long> ParseNumber(std::string_view text);  // digits only
std::optional<long> ParseCents(std::string_view text);   // "12" or "12.5" or "12.50"
std::string Money(long cents);                           // "12.50"
std::string UrlEncode(std::string_view text);            // RFC 3986 unreserved kept
std::string LinkToken(std::string_view seed);            // 64 hex digits

}  // namespace orvalen::sandbox
