// Signed request URLs for the open platform's REST gateway.
//
// A call lists its parameters in a fixed order; each is signed and written by
// its kind. The signing string is the secret followed by every name and value
// (no separators); the signature is its MD5 in upper-case hex; the URL is
//   gateway ? name=value& ... name=value& sign=SIGNATURE
// Names and plain values go out as they are, except for the few bytes that
// would break the query (blank, &, #, +, %, =, control bytes), which are
// percent-encoded; the signature is always over the unencoded text.
#pragma once

#include <chrono>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvalen {

enum class ParamKind {
  Plain,  // signed as is, sent as is but for the bytes that break a query
  Text,   // free text: signed as UTF-8, sent percent-encoded
  Time,   // the timestamp: signed as is, sent percent-encoded
};

struct RequestParam {
  std::string_view name;
  std::string_view value;
  ParamKind kind;
};

// "%XX" for every byte, letters and digits included, upper-case hex.
std::string PercentEncode(std::string_view bytes);

// Blanks and control bytes: never inside an address or a query as sent.
constexpr bool IsBlankOrControl(unsigned char b) {
  return b <= 0x20 || b == 0x7f;
}
bool HasBlankOrControl(std::string_view text);

// `bytes` with only blank, '&', '#', '+', '%', '=' and control bytes as "%XX";
// text without those comes back byte for byte.
std::string EncodeQueryBreakers(std::string_view bytes);

// "yyyy-mm-dd hh:nn:ss" in China Standard Time (UTC+8), which the gateway
// expects whatever the local zone is.
std::string ChinaTimestamp(std::chrono::system_clock::time_point when);

std::string SigningString(std::string_view secret, std::span<const RequestParam> params);

// None when the signature cannot be computed (libcrypto refused MD5).
std::optional<std::string> BuildSignedUrl(std::string_view gateway, std::string_view secret,
                                          std::span<const RequestParam> params,
                                          std::string_view sign_name);

// Comma-joined field names for the `fields` parameter; empty names stay as
// empty items.
std::string JoinFields(std::initializer_list<std::string_view> names);

}  // namespace orvalen
