// ToolRunner: an MCP tool call made as the window makes it: the
// configuration (read once), then the platform calls through PlatformCall
// and the seller chain, each with a component of its own that the call's
// CancelSlot can abort. The result is the tools/call answer: the data as
// structuredContent and as a short text, or isError with the reason in
// the words of the one table of reasons.
//
//   ToolRunner runner(config, slot, Words::English);
//   const ToolOutcome outcome = runner.Run(request);
//   reply(outcome.result);
#pragma once

#include <nlohmann/json.hpp>

#include "cli/CliApp.h"
#include "cli/ConfigSession.h"
#include "cli/mcp/CancelSlot.h"
#include "cli/mcp/ToolCatalog.h"

namespace orvalen {

struct ToolOutcome {
  nlohmann::json result;  // the tools/call result
  bool failed = false;
  std::string reason;  // in English, for standard error, when failed
  std::string detail;  // what the transport said, when it says more
};

class ToolRunner {
 public:
  ToolRunner(ConfigSession& config, CancelSlot& cancel, Words words)
      : config_(config), cancel_(cancel), words_(words) {}

  ToolOutcome Run(const ToolRequest& request);

 private:
  ToolOutcome SearchItems(const ItemOptions& query);
  ToolOutcome ListCategories(const std::string& parent_cid);
  ToolOutcome SellerShopLink(const std::string& nick);
  ToolOutcome MarketplaceSearchLink(const std::string& keyword);
  nlohmann::json SellerFacts(const std::vector<std::string>& nicks);
  ToolOutcome Failure(const FailureWords& why, const std::string& detail) const;
  ToolOutcome NotAWebAddress() const;

  ConfigSession& config_;
  CancelSlot& cancel_;
  Words words_;
};

}  // namespace orvalen
