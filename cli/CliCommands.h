// CliCommands: each command of orvalen-cli as the window would make the call:
// load the configuration (key, secret, the call's name tables), set the
// request values, Fetch, and hand back the result entries as rows.
#pragma once

#include <string>
#include <vector>

#include "cli/ConfigSession.h"
#include "cli/RowPrinter.h"
#include "openapi/FailureWords.h"
#include "openapi/TaobaokeItem.h"

namespace orvalen {

struct CallOutcome {
  bool ok = false;
  std::vector<Row> rows;
  FailureWords why;    // the configuration's problem, or why the call failed
  std::string detail;  // what the transport said, when it says more
};

struct ItemOptions {
  std::string keyword, cid, area, sort;
  std::string start_price, end_price, start_credit, end_credit;
  std::string page_no = "1";
};

// The item search's request values for `query`, credited to the built-in member.
void SetItemOptions(const ItemOptions& query, TaobaokeItemConditions& cond);

class CliCommands {
 public:
  explicit CliCommands(std::string config_url);

  CallOutcome Cats(const std::string& parent_cid);
  CallOutcome Items(const ItemOptions& query);
  CallOutcome Users(const std::string& nicks);
  CallOutcome Shop(const std::string& nick);
  CallOutcome Convert(const std::string& sids);
  CallOutcome Listurl(const std::string& keyword);

 private:
  // Every command: the configuration (read once), then the call with the
  // command's values. A configuration that cannot be used is the failure;
  // no call is made without it.
  template <class Component, class SetValues>
  CallOutcome Call(SetValues set_values);

  ConfigSession config_;
};

}  // namespace orvalen
