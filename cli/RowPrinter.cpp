#include "cli/RowPrinter.h"

#include <algorithm>
#include <cstdio>

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

void PrintTsv(const std::vector<Row>& rows, std::ostream& out) {
  for (auto it = rows.begin(); it != EndOfRows(rows); ++it) {
    bool first = true;
    for (const auto& field : *it) {
      if (!first) out << '\t';
      out << field.second;
      first = false;
    }
    out << '\n';
  }
}

void PrintJson(const std::vector<Row>& rows, std::ostream& out) {
  out << '[';
  const auto end = EndOfRows(rows);
  for (auto it = rows.begin(); it != end; ++it) {
    out << (it == rows.begin() ? "\n  {" : ",\n  {");
    bool first = true;
    for (const auto& [name, value] : *it) {
      out << (first ? "" : ", ") << '"' << JsonEscape(name) << "\": \"" << JsonEscape(value) << '"';
      first = false;
    }
    out << '}';
  }
  out << (rows.begin() == end ? "]\n" : "\n]\n");
}

std::string JsonEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(ch);  // UTF-8 passes through unchanged
        }
    }
  }
  return out;
}

}  // namespace orvalen
