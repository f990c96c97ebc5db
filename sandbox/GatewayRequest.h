// GatewayRequest: a gateway request as it arrives over HTTP, and its
// parameters, read from the query string and from a POST form
// (application/x-www-form-urlencoded). Any other body is not read.
//
//   RequestParams r = ReadParams({.query = "a=1&b=%E4%B8%AD", .body = "c=2",
//                                 .content_type = "application/x-www-form-urlencoded"});
//   // r.params: a, b, c; r.duplicate: a name given in both places, if any
#pragma once

#include <string>
#include <string_view>

#include "sandbox/RequestCheck.h"

namespace orvalen::sandbox {

struct GatewayRequest {
  std::string_view query;  // the target's part after "?", still encoded
  std::string_view body;
  std::string_view content_type;
};

struct RequestParams {
  Params params;
  std::string duplicate;  // the first name found in the query and in the form
};

RequestParams ReadParams(const GatewayRequest& request);

// Adds the pairs of an encoded form or query string ("+" is a space,
// %XX a byte; a malformed escape is kept as it stands).
void ParseForm(std::string_view text, Params& into);

bool IsFormContentType(std::string_view content_type);

}  // namespace orvalen::sandbox
