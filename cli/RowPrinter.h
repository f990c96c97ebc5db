// Rows of named fields printed as TAB-separated lines or as a JSON array of
// objects. Printing stops before the first row whose fields are all empty.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace orvalen {

using Row = std::vector<std::pair<std::string, std::string>>;

void PrintTsv(const std::vector<Row>& rows, std::ostream& out);
void PrintJson(const std::vector<Row>& rows, std::ostream& out);

// Escapes a UTF-8 string for a JSON string literal (quotes not included).
std::string JsonEscape(const std::string& text);

}  // namespace orvalen
