// WebAddress: whether an address may leave the program for the desktop's
// browser, or be fetched as a picture by the results page. Only http and
// https addresses with a host qualify; the address is parsed, not matched
// by prefix.
//
//   IsWebAddress("HTTP://shop.example/x")   // true: the scheme's case does not matter
//   IsWebAddress("file:///etc/passwd")      // false
//
// Refused as well, whatever the scheme:
// - control bytes anywhere, blanks in the scheme or host and at either end
//   (a browser would trim or drop them, and then open something other than
//   what was checked); a blank inside the path or query stays, as browsers
//   escape it;
// - user information before the host ("http://peldrun@evil/" goes to evil);
// - a missing or malformed host or port;
// - more than kMaxWebAddress bytes (no web server takes a request line that long).
#pragma once

#include <cstddef>
#include <string_view>

namespace orvalen {

inline constexpr std::size_t kMaxWebAddress = 8192;

bool IsWebAddress(std::string_view address);

}  // namespace orvalen
