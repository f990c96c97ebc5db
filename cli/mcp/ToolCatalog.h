// ToolCatalog: the MCP tools orvalen-cli serves, as tools/list describes
// them (JSON Schema for what each takes and gives), and a tools/call's
// arguments checked against them.
//
//   reply(ToolList());
//   const ToolCheck check = CheckToolCall(params["name"], params["arguments"]);
//   if (check.request) run(*check.request); else refuse(check.refusal);
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/CliCommands.h"

namespace orvalen {

enum class Tool { SearchItems, ListCategories, SellerShopLink, MarketplaceSearchLink };

struct ToolRequest {
  Tool tool = Tool::SearchItems;
  std::string name;   // as the client named it
  ItemOptions items;  // search_items
  std::string text;   // parent_cid, nick or keyword
};

struct ToolCheck {
  std::optional<ToolRequest> request;
  bool unknown_tool = false;
  std::string refusal;  // what is wrong, naming the tool or the argument
};

// {"tools": [...]}: the four tools with their schemas.
nlohmann::json ToolList();

ToolCheck CheckToolCall(const nlohmann::json& name, const nlohmann::json& arguments);

}  // namespace orvalen
