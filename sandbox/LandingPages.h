// The pages behind the affiliate links the gateway hands out: an item's
// click URL (/click), a converted shop URL (/shop) and a list URL (/list).
// Each says in plain words what was opened and which member it credits.
#pragma once

#include <string>

#include "sandbox/Catalogue.h"
#include "sandbox/RequestCheck.h"

namespace orvalen::sandbox {

struct Landing {
  int status = 200;
  std::string html;
  std::string log;  // one line for the sandbox's log
};

Landing ItemLanding(const Catalogue& catalogue, const Params& query);
Landing ShopLanding(const Catalogue& catalogue, const Params& query);
Landing ListLanding(const Params& query);

// The sandbox's home page: what it is and where things are.
std::string IndexPage(const std::string& config_url, const std::string& gateway_url);

}  // namespace orvalen::sandbox
