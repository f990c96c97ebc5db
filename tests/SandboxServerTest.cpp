// The sandbox over HTTP: what it serves besides the gateway, a client set up
// as the platform's SDKs are, the request log and robustness against
// malformed requests.
#include <gtest/gtest.h>
#include <httplib.h>

#include <ctime>
#include <nlohmann/json.hpp>

#include "support/QueryCheck.h"
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

// Now in China, as a client's clock gives it.
std::string ChinaTimeNow() {
  const std::time_t t = std::time(nullptr) + 8 * 3600;
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

// A client that shares no code with the sandbox, set up as the platform's
// SDKs are by default: POST form, v2.0, JSON, an md5 signature.
TEST_F(SandboxServerTest, AnSdkStyleClientIsServed) {
  const std::map<std::string, std::string> form{{"method", "taobao.taobaoke.items.get"},
                                                {"app_key", "21008970"},
                                                {"v", "2.0"},
                                                {"format", "json"},
                                                {"sign_method", "md5"},
                                                {"timestamp", ChinaTimeNow()},
                                                {"cid", "0"},
                                                {"nick", "我的会员"},
                                                {"page_size", "40"},
                                                {"fields", "num_iid,title,price,click_url"}};
  const auto post = [&](const std::string& secret) {
    httplib::Params signed_form(form.begin(), form.end());
    signed_form.emplace("sign", test::SdkSignature(form, secret));
    const auto res = http.Post("/router/rest", signed_form);
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json; charset=utf-8");
    return nlohmann::json::parse(res->body);
  };
  const nlohmann::json found = post("orvalen-sandbox-secret")["taobaoke_items_get_response"];
  const nlohmann::json& items = found["taobaoke_items"]["taobaoke_item"];
  ASSERT_EQ(items.size(), 40u) << found;
  EXPECT_GE(found["total_results"].get<long>(), 40);
  for (const nlohmann::json& item : items) {
    const std::string url = item["click_url"];
    EXPECT_NE(url.find("&nick=%E6%88%91%E7%9A%84%E4%BC%9A%E5%91%98&"), std::string::npos) << url;
  }
  const nlohmann::json refused = post("not-the-secret")["error_response"];
  EXPECT_EQ(refused["code"], 25);
  EXPECT_EQ(refused["msg"], "Invalid signature");
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
  EXPECT_TRUE(log.WaitFor("GET /router/rest?app_key=21008970&app_secret=*** 25"));
  EXPECT_TRUE(log.WaitFor("POST /router/rest 29"));
  EXPECT_TRUE(log.WaitFor("GET /router/rest?v=2.0&format=json&app_key=21008970&method=x 25"));
  EXPECT_TRUE(log.WaitFor("GET /nothing 404"));
  EXPECT_FALSE(log.Contains("orvalen-sandbox-secret"));
}

// Load is SandboxProgramTest's; here, requests no client would send.
TEST_F(SandboxServerTest, SurvivesMalformedRequests) {
  EXPECT_EQ(http.Get("/router/rest?%zz=%")->status, 200);  // answered with an error element
  EXPECT_EQ(http.Get("/pic/99999999999999999999.gif")->status, 404);
}

}  // namespace
}  // namespace orvalen
