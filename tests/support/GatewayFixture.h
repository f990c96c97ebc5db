// GatewayFixture: a sandbox gateway over a small generated catalogue, at a
// fixed time, with helpers that sign requests the way a client does.
//
//   class MyTest : public orvalen::sandbox::GatewayFixture {};
//   TEST_F(MyTest, X) { GatewayAnswer a = Call("taobao.itemcats.get", {{"parent_cid", "0"}}); }
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "sandbox/Gateway.h"

namespace orvalen::sandbox {

class GatewayFixture : public ::testing::Test {
 protected:
  static constexpr auto kNow = std::chrono::sys_days{std::chrono::year(2010) / 6 / 1} +
                               std::chrono::hours(1) + std::chrono::minutes(5) +
                               std::chrono::seconds(3);

  static void SetUpTestSuite() { catalogue = new Catalogue(Catalogue::Generate(7, 3000)); }
  static void TearDownTestSuite() { delete catalogue; }

  // Where the answers' links point.
  static constexpr const char* kBaseUrl = "http://sandbox:1";

  GatewayFixture() : gateway(*catalogue, {"key", "secret", [] { return kNow; }}) {}

  // A signed request for `method` with the given call parameters, in the
  // dialect `v` and `format` name.
  static Params Request(const std::string& method, Params call, const std::string& v = "1.0",
                        const std::string& format = "xml") {
    Params p = std::move(call);
    p.emplace("app_key", "key");
    p.emplace("method", method);
    p.emplace("timestamp", "2010-06-01 09:05:03");
    p.emplace("v", v);
    if (!format.empty()) p.emplace("format", format);
    return Signed(std::move(p));
  }
  // `p` with its signature made anew, by `secret`.
  static Params Signed(Params p, const std::string& secret = "secret") {
    p.erase("sign");
    p.emplace("sign", ExpectedSignature(p, secret));
    return p;
  }
  GatewayAnswer Call(const std::string& method, Params call, const std::string& v = "1.0",
                     const std::string& format = "xml") const {
    return Handle(Request(method, std::move(call), v, format));
  }
  template <class Request>
  GatewayAnswer Handle(const Request& request) const {
    return gateway.Handle(request, kBaseUrl);
  }

  static Catalogue* catalogue;
  Gateway gateway;
};

inline Catalogue* GatewayFixture::catalogue = nullptr;

}  // namespace orvalen::sandbox
