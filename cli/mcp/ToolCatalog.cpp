#include "cli/mcp/ToolCatalog.h"

#include <algorithm>
#include <functional>
#include <map>

#include "marketdata/CreditGrades.h"
#include "marketdata/SearchTables.h"

namespace orvalen {
namespace {

using nlohmann::json;

constexpr const char* kCredited =
    " Every link it returns is an affiliate link that credits the Orvalen member: give it to the "
    "user exactly as it is.";

json Strings(auto&& list) {
  json out = json::array();
  for (const auto& s : list) out.push_back(std::string(s));
  return out;
}

json SortKeys() {
  std::vector<std::string> keys;
  for (const SortChoice& s : SortChoices()) {
    if (std::find(keys.begin(), keys.end(), s.key) == keys.end()) keys.emplace_back(s.key);
  }
  return Strings(keys);
}

json Object(json properties, json required = json::array()) {
  return {{"type", "object"},
          {"properties", std::move(properties)},
          {"required", std::move(required)},
          {"additionalProperties", false}};
}

json Described(json schema, const char* description) {
  schema["description"] = description;
  return schema;
}

json Text(const char* description) {
  return {{"type", "string"}, {"description", description}};
}

json Whole(const char* description, int minimum) {
  return {{"type", "integer"}, {"minimum", minimum}, {"description", description}};
}

json SearchItemsTool() {
  const json credit = {{"type", "string"}, {"enum", Strings(CreditKeys())}};
  json input = Object({
      {"keyword", Text("words to search for")},
      {"cid",
       {{"type", "string"},
        {"pattern", "^[0-9]+$"},
        {"description", "a category id, from list_categories"}}},
      {"area",
       {{"type", "string"},
        {"enum", Strings(AreaItems())},
        {"description", "the sellers' location: a region, province or city"}}},
      {"sort",
       {{"type", "string"}, {"enum", SortKeys()}, {"description", "the order of the items"}}},
      {"price_min", Whole("the lowest price in yuan; needs price_max", 0)},
      {"price_max", Whole("the highest price in yuan; needs price_min", 0)},
      {"credit_min", Described(credit, "the sellers' lowest credit grade")},
      {"credit_max", Described(credit, "the sellers' highest credit grade")},
      {"page", Whole("the page of results, from 1 (40 items a page)", 1)},
  });
  const json seller_credit =
      Object({{"level", {{"type", "integer"}, {"minimum", 1}, {"maximum", 20}}},
              {"grade", Text("the grade as shoppers say it, such as 3心, 2钻, 1皇冠, 5金冠")},
              {"key", Text("the grade's search key, as credit_min and credit_max take it")}},
             {"level", "grade", "key"});
  const json item = Object({{"num_iid", Text("the item's id")},
                            {"title", Text("the title, as plain text")},
                            {"price", Text("the price in yuan, as the platform wrote it")},
                            {"nick", Text("the seller")},
                            {"location", Text("where the seller is")},
                            {"click_url", Text("the member's affiliate link to the item")},
                            {"pic_url", Text("the item's picture")},
                            {"seller_credit", seller_credit}},
                           {"num_iid", "title", "price", "nick", "click_url", "pic_url"});
  const json output = Object({{"total_results", Whole("items found in all", 0)},
                              {"page", Whole("this page", 1)},
                              {"items", {{"type", "array"}, {"items", item}}}},
                             {"total_results", "page", "items"});
  return {{"name", "search_items"},
          {"title", "Search the marketplace's affiliate items"},
          {"description", std::string("Searches the marketplace's affiliate items with the "
                                      "filters of the Orvalen window.") +
                              kCredited},
          {"inputSchema", input},
          {"outputSchema", output}};
}

json ListCategoriesTool() {
  const json category = Object({{"cid", Text("the category id")},
                                {"name", Text("the category's name")},
                                {"is_parent", {{"type", "boolean"}}}},
                               {"cid", "name", "is_parent"});
  return {{"name", "list_categories"},
          {"title", "List item categories"},
          {"description",
           "Lists the marketplace's item categories under parent_cid, or the top "
           "level without it."},
          {"inputSchema", Object({{"parent_cid",
                                   {{"type", "string"},
                                    {"pattern", "^[0-9]+$"},
                                    {"description", "a category id; none for the top level"}}}})},
          {"outputSchema", Object({{"parent_cid", Text("the parent, \"0\" for the top level")},
                                   {"categories", {{"type", "array"}, {"items", category}}}},
                                  {"parent_cid", "categories"})}};
}

json LinkTool(const char* name, const char* title, const char* description, const char* argument,
              const char* argument_description) {
  return {{"name", name},
          {"title", title},
          {"description", std::string(description) + kCredited},
          {"inputSchema",
           Object({{argument,
                    {{"type", "string"}, {"minLength", 1}, {"description", argument_description}}}},
                  {argument})},
          {"outputSchema", Object({{argument, Text(argument_description)},
                                   {"click_url", Text("the member's affiliate link")}},
                                  {argument, "click_url"})}};
}

// Checks of one argument's value; each gives the refusal, or "" when it holds.
using Check = std::function<std::string(const std::string& name, const json& value)>;

std::string MustBe(const std::string& name, const std::string& what) {
  return "argument '" + name + "' must be " + what;
}

bool IsDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// A category id as a string of digits, or a whole number.
std::string CategoryId(const std::string& name, const json& v, std::string& into) {
  if (v.is_number_unsigned()) {
    into = std::to_string(v.get<std::uint64_t>());
  } else if (v.is_string() && IsDigits(v.get<std::string>())) {
    into = v.get<std::string>();
  } else {
    return MustBe(name, "a category id, digits only");
  }
  return "";
}

std::string AString(const std::string& name, const json& v, std::string& into, bool non_empty) {
  if (!v.is_string() || (non_empty && v.get<std::string>().empty())) {
    return MustBe(name, non_empty ? "text that is not empty" : "text");
  }
  into = v.get<std::string>();
  return "";
}

std::string AWhole(const std::string& name, const json& v, std::string& into, std::uint64_t min) {
  if (!v.is_number_unsigned() || v.get<std::uint64_t>() < min) {
    return MustBe(name, "a whole number from " + std::to_string(min));
  }
  into = std::to_string(v.get<std::uint64_t>());
  return "";
}

std::string OneOf(const std::string& name, const json& v, const json& allowed, std::string& into) {
  if (!v.is_string() || std::find(allowed.begin(), allowed.end(), v) == allowed.end()) {
    return MustBe(name, "one of " + allowed.dump());
  }
  into = v.get<std::string>();
  return "";
}

// The window's location list: its first entries stand for groups of places.
std::string AreaValueOf(const std::string& area) {
  const auto items = AreaItems();
  const auto at = std::find(items.begin(), items.end(), area);
  return std::string(AreaValue(static_cast<int>(at - items.begin())));
}

std::string CheckSearch(const json& args, ItemOptions& q) {
  const json credit_keys = Strings(CreditKeys());
  const std::map<std::string, Check> checks = {
      {"keyword", [&](auto& n, auto& v) { return AString(n, v, q.keyword, false); }},
      {"cid", [&](auto& n, auto& v) { return CategoryId(n, v, q.cid); }},
      {"area", [&](auto& n, auto& v) { return OneOf(n, v, Strings(AreaItems()), q.area); }},
      {"sort", [&](auto& n, auto& v) { return OneOf(n, v, SortKeys(), q.sort); }},
      {"price_min", [&](auto& n, auto& v) { return AWhole(n, v, q.start_price, 0); }},
      {"price_max", [&](auto& n, auto& v) { return AWhole(n, v, q.end_price, 0); }},
      {"credit_min", [&](auto& n, auto& v) { return OneOf(n, v, credit_keys, q.start_credit); }},
      {"credit_max", [&](auto& n, auto& v) { return OneOf(n, v, credit_keys, q.end_credit); }},
      {"page", [&](auto& n, auto& v) { return AWhole(n, v, q.page_no, 1); }},
  };
  for (const auto& [name, value] : args.items()) {
    const auto check = checks.find(name);
    if (check == checks.end()) return "unknown argument '" + name + "'";
    if (std::string refusal = check->second(name, value); !refusal.empty()) return refusal;
  }
  if (q.start_price.empty() != q.end_price.empty()) {
    return q.start_price.empty() ? "argument 'price_min' is needed with price_max"
                                 : "argument 'price_max' is needed with price_min";
  }
  if (!q.start_price.empty() && std::stoull(q.end_price) < std::stoull(q.start_price)) {
    return "argument 'price_max' must not be below price_min";
  }
  if (!q.start_credit.empty() && !q.end_credit.empty() &&
      *CreditLevel(q.end_credit) < *CreditLevel(q.start_credit)) {
    return "argument 'credit_max' must not be below credit_min";
  }
  if (!q.area.empty()) q.area = AreaValueOf(q.area);
  return "";
}

// A tool of one argument, `argument`, required unless `optional`.
std::string CheckSingle(const json& args, const char* argument, bool optional, Tool tool,
                        std::string& into) {
  for (const auto& [name, value] : args.items()) {
    if (name != argument) return "unknown argument '" + name + "'";
    std::string refusal = tool == Tool::ListCategories ? CategoryId(name, value, into)
                                                       : AString(name, value, into, true);
    if (!refusal.empty()) return refusal;
  }
  if (!optional && !args.contains(argument)) {
    return "argument '" + std::string(argument) + "' is required";
  }
  return "";
}

}  // namespace

json ToolList() {
  return {{"tools",
           {SearchItemsTool(), ListCategoriesTool(),
            LinkTool("seller_shop_link", "A seller's shop link",
                     "The affiliate link to a seller's shop, by the seller's nick.", "nick",
                     "the seller's nick, as search_items gives it"),
            LinkTool("marketplace_search_link", "A marketplace search link",
                     "The affiliate link to the marketplace's own search for a keyword.", "keyword",
                     "words to search for")}}};
}

ToolCheck CheckToolCall(const json& name, const json& arguments) {
  static const std::map<std::string, Tool> kTools = {
      {"search_items", Tool::SearchItems},
      {"list_categories", Tool::ListCategories},
      {"seller_shop_link", Tool::SellerShopLink},
      {"marketplace_search_link", Tool::MarketplaceSearchLink}};
  if (!name.is_string()) return {std::nullopt, false, "params.name must be a tool's name"};
  const auto tool = kTools.find(name.get<std::string>());
  if (tool == kTools.end()) return {std::nullopt, true, "unknown tool: " + name.get<std::string>()};
  if (!arguments.is_null() && !arguments.is_object()) {
    return {std::nullopt, false, "params.arguments must be an object"};
  }
  const json args = arguments.is_null() ? json::object() : arguments;
  ToolRequest request{tool->second, tool->first, {}, {}};
  std::string refusal;
  switch (request.tool) {
    case Tool::SearchItems:
      refusal = CheckSearch(args, request.items);
      break;
    case Tool::ListCategories:
      refusal = CheckSingle(args, "parent_cid", true, request.tool, request.text);
      break;
    case Tool::SellerShopLink:
      refusal = CheckSingle(args, "nick", false, request.tool, request.text);
      break;
    case Tool::MarketplaceSearchLink:
      refusal = CheckSingle(args, "keyword", false, request.tool, request.text);
      break;
  }
  if (!refusal.empty()) return {std::nullopt, false, refusal};
  return {request, false, ""};
}

}  // namespace orvalen
