// ConfigProblem: why the configuration document fetched at start cannot be
// used, in the user's words (the line the not-found message adds) and for
// standard error; none when it can.
//
//   if (auto problem = DescribeConfigProblem(url, loaded, XMLData1, app_key)) {
//     std::cerr << problem->diagnostic << '\n';   // later: problem->reason in the message
//   }
//
// Unusable means: not downloaded (no connection, no answer in time, an HTTP
// error), not a configuration document (not XML, or a key that is more than
// text), or a document without an application key.
#pragma once

#include <optional>
#include <string>

#include "config/XMLData.h"

namespace orvalen {

struct ConfigProblem {
  std::string reason;      // Chinese, names the address
  std::string diagnostic;  // one line for standard error, names the address
};

std::optional<ConfigProblem> DescribeConfigProblem(const std::string& url, bool loaded,
                                                   const TXMLData& config,
                                                   const std::string& app_key);

}  // namespace orvalen
