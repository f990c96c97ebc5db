// The sandbox over HTTP: what it serves besides the gateway, POST, the
// request log and robustness against malformed requests.
#include <gtest/gtest.h>
#include <httplib.h>

#include <future>

#include "config/XMLData.h"
#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

class SandboxServerTest : public ::testing::Test {
 protected:
  SandboxServerTest() : sandbox(3000, &log), http("127.0.0.1", sandbox.server().port()) {}

  test::LogCapture log;
  test::SandboxRunner sandbox;
  httplib::Client http;
};

TEST_F(SandboxServerTest, ServesAConfigurationTheReaderAccepts) {
  TXMLData config;
  std::string key, secret;
  ASSERT_TRUE(config.LoadKeys(sandbox.server().config_url(), key, secret));
  EXPECT_EQ(key, "21008970");
  EXPECT_EQ(secret, "orvalen-sandbox-secret");
  TTaobaoUsers::Records users;
  config.ReadTaobaoUsers(users.cond, users.answer_names, users.request_names, users.marker_names);
  EXPECT_EQ(users.cond.method, "taobao.users.get");
  EXPECT_EQ(users.answer_names.seller_credit.level, "level");
  EXPECT_EQ(users.request_names.url, sandbox.server().gateway_url());
  EXPECT_EQ(users.marker_names.location, "location");
  TTaobaokeShop::Records convert;
  config.ReadTaobaokeShop(convert.cond, convert.answer_names, convert.request_names,
                          convert.marker_names);
  EXPECT_EQ(convert.answer_names.shop_rate, "shop_commission.rate");
}

TEST_F(SandboxServerTest, PicturesBadgesAndLandingPages) {
  const auto badge = http.Get("/newrank/s_crown_5.gif");
  ASSERT_TRUE(badge);
  EXPECT_EQ(badge->status, 200);
  EXPECT_EQ(badge->body.substr(0, 6), "GIF89a");
  EXPECT_EQ(badge->get_header_value("Content-Type"), "image/gif");
  EXPECT_EQ(static_cast<unsigned char>(badge->body[6]), 80u);  // five symbols of 16 px
  EXPECT_EQ(http.Get("/newrank/b_red_6.gif")->status, 404);

  const sandbox::Item& item = sandbox.server().catalogue().items()[0];
  const std::string iid = std::to_string(item.iid);
  EXPECT_EQ(http.Get("/pic/" + iid + ".gif")->get_header_value("Content-Type"), "image/gif");

  const auto landing = http.Get("/click?iid=" + iid + "&nick=peldrun&e=x");
  ASSERT_EQ(landing->status, 200);
  EXPECT_NE(landing->body.find(item.title), std::string::npos);
  EXPECT_NE(landing->body.find("peldrun"), std::string::npos);
  EXPECT_EQ(http.Get("/list?q=%E6%89%8B%E6%9C%BA&nick=peldrun")->status, 200);
  EXPECT_EQ(http.Get("/click?iid=1")->status, 404);
  EXPECT_TRUE(log.WaitFor("landing: item " + iid + " credited to peldrun"));
  EXPECT_TRUE(log.WaitFor("landing: search \"手机\" credited to peldrun"));
}

TEST_F(SandboxServerTest, LogsEachRequestWithItsOutcomeButNeverTheSecret) {
  http.Get("/router/rest?app_key=21008970&app_secret=orvalen-sandbox-secret");
  http.Post("/router/rest", "app_key=nobody", "application/x-www-form-urlencoded");
  const auto json = http.Get("/router/rest?v=2.0&format=json&app_key=21008970&method=x");
  EXPECT_EQ(json->get_header_value("Content-Type"), "application/json; charset=utf-8");
  http.Get("/nothing");
  EXPECT_TRUE(log.WaitFor("GET /router/rest?app_key=21008970&app_secret=*** 31"));
  EXPECT_TRUE(log.WaitFor("POST /router/rest 29"));
  EXPECT_TRUE(log.WaitFor("GET /router/rest?v=2.0&format=json&app_key=21008970&method=x 31"));
  EXPECT_TRUE(log.WaitFor("GET /nothing 404"));
  EXPECT_FALSE(log.Contains("orvalen-sandbox-secret"));
}

TEST_F(SandboxServerTest, SurvivesMalformedAndConcurrentRequests) {
  httplib::Client raw("127.0.0.1", sandbox.server().port());
  EXPECT_EQ(raw.Get("/router/rest?%zz=%")->status, 200);  // answered with an error element
  EXPECT_EQ(raw.Get("/pic/99999999999999999999.gif")->status, 404);
  std::vector<std::future<int>> calls;
  for (int i = 0; i < 16; ++i) {
    calls.push_back(std::async(std::launch::async, [this] {
      httplib::Client c("127.0.0.1", sandbox.server().port());
      const auto r = c.Get("/newrank/b_red_1.gif");
      return r ? r->status : 0;
    }));
  }
  for (auto& c : calls) EXPECT_EQ(c.get(), 200);
}

}  // namespace
}  // namespace orvalen
