// ConfigLocation: which configuration document a program loads.
//
//   const ConfigChoice c =
//       ChooseConfigUrl(flag_value, std::getenv(kConfigUrlVariable), DefaultConfigUrl());
//   if (!c.error.empty()) { print c.error; exit 2; }
//
// The --config value wins over the environment variable, which wins over the
// address built in (DefaultConfigUrl() in the programs). Either must be an
// http or https address with a host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalen {

inline constexpr const char* kConfigUrlVariable = "ORVALEN_CONFIG_URL";

struct ConfigChoice {
  std::string url;
  std::string error;  // empty when url is usable
};

// An empty environment value counts as unset.
ConfigChoice ChooseConfigUrl(const std::optional<std::string>& flag, const char* environment,
                             const std::string& builtin);

// http:// or https://, a host, and no blanks or control bytes.
bool IsConfigAddress(std::string_view url);

}  // namespace orvalen
