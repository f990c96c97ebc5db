// ConfigProblem: why the configuration document cannot be used, in words
// (from the one table of reasons, FailureWords) naming its address; none
// when it can.
//
//   if (auto problem = DescribeConfigProblem(url, loaded, XMLData1, app_key)) {
//     std::cerr << problem->words.en << '\n';   // the window shows problem->words.zh
//   }
//
// Unusable means: not downloaded (the reason says which part of the way
// failed), not a configuration document (a web page, not XML, a key that is
// more than text), or a document without an application key.
#pragma once

#include <optional>
#include <string>

#include "config/XMLData.h"
#include "openapi/FailureWords.h"

namespace orvalen {

struct ConfigProblem {
  FailureWords words;  // each names the address
  std::string detail;  // what the transport said, for standard error; may be empty
};

std::optional<ConfigProblem> DescribeConfigProblem(const std::string& url, bool loaded,
                                                   const TXMLData& config,
                                                   const std::string& app_key);

}  // namespace orvalen
