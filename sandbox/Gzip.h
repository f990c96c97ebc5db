// Gzip: a body compressed as HTTP's "gzip" content coding (zlib), and
// whether a request's Accept-Encoding takes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalen::sandbox {

// Nothing when zlib fails.
std::optional<std::string> Gzip(std::string_view data);

// "gzip, deflate, br", "gzip;q=0.5", "*": yes; "identity", "gzip;q=0", "": no.
bool AcceptsGzip(std::string_view accept_encoding);

}  // namespace orvalen::sandbox
