// ConfigSession: the configuration document for a run of platform calls:
// read on the first call that needs it, kept from then on, and read again
// on the next call after it could not be used.
//
//   ConfigSession config(url);
//   if (const auto problem = config.Ensure()) return problem->words.en;
//   PlatformCall(config.data(), config.keys(), component, set_values);
#pragma once

#include <optional>
#include <string>

#include "config/ConfigProblem.h"
#include "config/PlatformCall.h"
#include "config/XMLData.h"

namespace orvalen {

class ConfigSession {
 public:
  explicit ConfigSession(std::string url) : url_(std::move(url)) {}

  // Why the document cannot be used; none once it has been read.
  std::optional<ConfigProblem> Ensure();
  const TXMLData& data() const { return config_; }
  const AppKeys& keys() const { return keys_; }

 private:
  std::string url_;
  TXMLData config_;
  AppKeys keys_;
  bool loaded_ = false;
};

}  // namespace orvalen
