// Rows of named fields printed as TAB-separated lines or as a JSON array of
// objects. Printing stops before the first row whose fields are all empty.
//
// In TSV one entry is always one line: a backslash, TAB, line feed or
// carriage return inside a value is written as \\, \t, \n or \r.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvalen {

using Row = std::vector<std::pair<std::string, std::string>>;

void PrintTsv(const std::vector<Row>& rows, std::ostream& out);
void PrintJson(const std::vector<Row>& rows, std::ostream& out);

// A value as one TSV field.
std::string TsvEscape(std::string_view text);

}  // namespace orvalen
