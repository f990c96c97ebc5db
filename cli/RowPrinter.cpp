#include "cli/RowPrinter.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace orvalen {
namespace {

bool IsEmpty(const Row& row) {
  return std::all_of(row.begin(), row.end(), [](const auto& f) { return f.second.empty(); });
}

// Rows up to (not including) the first entirely empty one.
std::vector<Row>::const_iterator EndOfRows(const std::vector<Row>& rows) {
  return std::find_if(rows.begin(), rows.end(), IsEmpty);
}

}  // namespace

std::string TsvEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

void PrintTsv(const std::vector<Row>& rows, std::ostream& out) {
  for (auto it = rows.begin(); it != EndOfRows(rows); ++it) {
    bool first = true;
    for (const auto& field : *it) {
      if (!first) out << '\t';
      out << TsvEscape(field.second);
      first = false;
    }
    out << '\n';
  }
}

void PrintJson(const std::vector<Row>& rows, std::ostream& out) {
  using Json = nlohmann::ordered_json;  // fields in the order of the row
  Json array = Json::array();
  for (auto it = rows.begin(); it != EndOfRows(rows); ++it) {
    Json& object = array.emplace_back(Json::object());
    for (const auto& [name, value] : *it) object[name] = value;
  }
  // Answers are UTF-8; a stray bad byte becomes U+FFFD rather than an error.
  out << array.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace orvalen
