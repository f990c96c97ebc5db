// Gateway: the sandbox's REST gateway. Checks a request's app key, timestamp
// and signature, then answers the six platform calls from the catalogue in
// the dialect the request asks for (v1.0 XML, v2.0 XML or v2.0 JSON), or
// refuses in that dialect with the platform's code.
//
//   Gateway gw(catalogue, {.app_key = "k", .app_secret = "s",
//                          .base_url = "http://127.0.0.1:8970"});
//   GatewayAnswer a = gw.Handle({.query = "method=...", .body = "", .content_type = ""});
//   // a.body, a.content_type, a.outcome ("ok" or the code)
#pragma once

#include <chrono>
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
  std::string base_url;  // scheme, host and port of links in answers, no trailing "/"
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
  // Both are safe to call from several threads at once.
  GatewayAnswer Handle(const GatewayRequest& request) const;
  GatewayAnswer Handle(const Params& params) const;

 private:
  const Catalogue& catalogue_;
  GatewayOptions options_;
  std::unique_ptr<SearchCache> search_;
};

}  // namespace orvalen::sandbox
