// Gateway: the sandbox's REST gateway. Checks a request's app key, timestamp
// and signature, then answers the six platform calls from the catalogue in
// the dialect the request asks for (v1.0 XML, v2.0 XML or v2.0 JSON), or
// refuses in that dialect with the platform's code.
//
//   Gateway gw(catalogue, {.app_key = "k", .app_secret = "s"});
//   GatewayAnswer a = gw.Handle({.query = "method=...", .body = "", .content_type = ""},
//                               "http://127.0.0.1:8970");   // where links in answers point
//   // a.body, a.content_type, a.outcome ("ok" or the code)
//
// A request is refused in the platform's order: the app key (29), the
// signature (25), the timestamp (31; China time or Unix milliseconds, within
// ten minutes of the gateway's clock), the method (40, 22), the format
// (41), then the call's own arguments. Every answer carries a request id.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sandbox/Catalogue.h"
#include "sandbox/GatewayRequest.h"
#include "sandbox/RequestCheck.h"

namespace orvalen::sandbox {
class SearchCache;
}

namespace orvalen::sandbox {

struct GatewayOptions {
  std::string app_key;
  std::string app_secret;
  std::function<std::chrono::system_clock::time_point()> clock = std::chrono::system_clock::now;
};

struct GatewayAnswer {
  std::string body;
  std::string outcome;  // "ok", or the error code as text
  std::string content_type;
};

class Gateway {
 public:
  Gateway(const Catalogue& catalogue, GatewayOptions options);
  ~Gateway();
  // Both are safe to call from several threads at once. `base_url` is the
  // scheme, host and port of the links in answers, without a trailing "/".
  GatewayAnswer Handle(const GatewayRequest& request, const std::string& base_url) const;
  GatewayAnswer Handle(const Params& params, const std::string& base_url) const;

 private:
  std::string NextRequestId() const;

  const Catalogue& catalogue_;
  GatewayOptions options_;
  std::unique_ptr<SearchCache> search_;
  mutable std::atomic<std::uint64_t> requests_;
};

}  // namespace orvalen::sandbox
