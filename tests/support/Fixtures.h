// Shared test fixtures: a fixed clock and a gateway stand-in on a TestServer.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "openapi/ClientComponent.h"
#include "platform/CurlHttpClient.h"
#include "support/TestServer.h"

namespace orvalen::test {

// 2010-06-01 09:05:03 in China.
inline std::chrono::system_clock::time_point Morning() {
  using namespace std::chrono;
  return sys_days{2010y / 6 / 1} + 1h + 5min + 3s;
}
inline Clock FixedClock() {
  return [] { return Morning(); };
}
inline constexpr const char* kTimestampInUrl =
    "%32%30%31%30%2D%30%36%2D%30%31%20%30%39%3A%30%35%3A%30%33";

// Short limits so that time-out tests finish quickly.
inline HttpOptions QuickOptions(std::size_t max_body = 64 * 1024) {
  HttpOptions o;
  o.connect_timeout = std::chrono::seconds(2);
  o.read_timeout = std::chrono::seconds(1);
  o.total_timeout = std::chrono::seconds(5);
  o.max_body = max_body;
  return o;
}
inline std::unique_ptr<HttpTransport> QuickHttp() {
  return std::make_unique<CurlHttpClient>(QuickOptions());
}

// A server whose /router/rest answers with whatever `answer` holds.
struct FakeGateway {
  TestServer server;
  std::string answer;

  FakeGateway() {
    server.Handle("/router/rest", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(answer, "text/xml; charset=utf-8");
    });
  }
  std::string url() const { return server.Url("/router/rest"); }
  std::size_t calls() const { return server.Requests().size(); }
  std::string last_target() const { return server.Requests().back().target; }
};

// A client component talking to a FakeGateway, with its four records ready
// (gateway URL, key and secret set, then what `Given` sets in the request
// values) and the results of the last Fetch.
//
//   using ShopTest =
//       test::GatewayTest<TTaobaokeShop, [](TaobaokeShopConditions& c) { c.sids = "1"; }>;
struct NothingGiven {
  void operator()(const auto&) const {}
};
template <class Component, auto Given = NothingGiven{}>
class GatewayTest : public ::testing::Test {
 protected:
  GatewayTest() : component(QuickHttp(), FixedClock()) {
    name.url = gateway.url();
    cond.app_key = "12345";
    cond.app_secret = kSecret;
    Given(cond);
  }
  bool Fetch() { return component.Fetch(cond, info_names, name, xml, results); }
  // The last request as a full URL.
  std::string LastUrl() const { return gateway.server.Url(gateway.last_target()); }

  static constexpr const char* kSecret = "TopSecretValue";
  FakeGateway gateway;
  Component component;
  typename Component::Conditions cond;
  typename Component::Entry info_names;
  typename Component::Name name;
  typename Component::XML xml;
  const typename Component::Results* results = nullptr;
};

}  // namespace orvalen::test
