// The gateway's checks of a request's system parameters, written from the
// gateway's side: the signature is recomputed over the received parameters
// sorted by name, whatever order they arrived in.
//
//   v "1.0":                    MD5(secret + name1 value1 name2 value2 ...)
//   v "2.0", sign_method md5:   MD5(secret + name1 value1 ... + secret)
//   v "2.0", sign_method hmac:  HMAC-MD5 keyed with the secret over
//                               name1 value1 name2 value2 ...
//
// upper-case hex, the `sign` parameter itself left out. A v2.0 request
// without sign_method is signed with md5, as the platform's default.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvalen::sandbox {

using Params = std::multimap<std::string, std::string>;

enum class SignatureCheck { Valid, Invalid, UnknownMethod };

// The signature the gateway expects; empty for an unknown version or method.
std::string ExpectedSignature(const Params& params, std::string_view secret);
SignatureCheck CheckSignature(const Params& params, std::string_view secret);

// "yyyy-mm-dd hh:mm:ss" read as China Standard Time (UTC+8).
std::optional<std::chrono::system_clock::time_point> ParseChinaTime(std::string_view text);
// A request's timestamp in either form the platform takes: China time as
// above, or Unix time in milliseconds (13 digits, as its SDKs send it).
std::optional<std::chrono::system_clock::time_point> ParseTimestamp(std::string_view text);

// The first value of `name`, or "" when absent.
std::string Param(const Params& params, const std::string& name);

}  // namespace orvalen::sandbox
