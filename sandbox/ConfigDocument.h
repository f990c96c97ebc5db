// The configuration document the sandbox serves in place of the maker's:
// the sandbox's key and secret, and for each of the six calls its call
// values, answer element names, parameter names (with the sandbox's own
// gateway as "http") and marker names.
#pragma once

#include <string>

namespace orvalen::sandbox {

std::string ConfigDocument(const std::string& app_key, const std::string& app_secret,
                           const std::string& gateway_url);

}  // namespace orvalen::sandbox
