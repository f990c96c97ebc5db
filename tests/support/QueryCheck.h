// Helpers that take a request URL apart the way a gateway would, so tests can
// check parameter order, encoding and the signature without trusting the
// code under test to build them.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvalen::test {

using QueryPairs = std::vector<std::pair<std::string, std::string>>;

// The query's name=value pairs in order, values left as sent (not decoded).
QueryPairs SplitQuery(const std::string& url);
std::vector<std::string> Names(const QueryPairs& pairs);
std::string ValueOf(const QueryPairs& pairs, const std::string& name);
std::string PercentDecode(const std::string& text);

// Recomputes the signature: MD5 over secret + every name and decoded value in
// the order sent, upper-case hex; compares it with the `sign` parameter.
bool SignatureMatches(const std::string& url, const std::string& secret,
                      const std::string& sign_name = "sign");

// How a platform SDK signs a request, written independently of the code
// under test: the pairs sorted by name, then MD5 with the secret at both
// ends, or HMAC-MD5 keyed with the secret; upper-case hex.
std::string SdkSignature(const std::map<std::string, std::string>& sorted,
                         const std::string& secret, bool hmac = false);

}  // namespace orvalen::test
