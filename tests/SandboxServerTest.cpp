// The sandbox over HTTP: what it serves besides the gateway, a client set up
// as the platform's SDKs are, the request log and robustness against
// malformed requests.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
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

// Now, in Unix milliseconds, as the platform's generated SDKs send it.
std::string MillisecondsNow() {
  return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count());
}

// A client that shares no code with the sandbox, shaped as the platform's
// generated SDKs shape their requests: a POST with the system parameters
// in the query (a millisecond timestamp, partner_id, md5) and the call's
// in the form, JSON, gzip accepted. Every answer carries a request id and
// a Date; a wrong secret is 25.
TEST_F(SandboxServerTest, AClientShapedAsThePlatformsSdksIsServed) {
  const std::map<std::string, std::string> system{{"method", "taobao.taobaoke.items.get"},
                                                  {"app_key", "21008970"},
                                                  {"v", "2.0"},
                                                  {"format", "json"},
                                                  {"sign_method", "md5"},
                                                  {"partner_id", "top-sdk-python-20260101"},
                                                  {"timestamp", MillisecondsNow()}};
  const std::map<std::string, std::string> call{{"cid", "0"},
                                                {"nick", "我的会员"},
                                                {"page_size", "40"},
                                                {"fields", "num_iid,title,price,click_url"}};
  const auto post = [&](const std::string& secret) {
    std::map<std::string, std::string> all = system;
    all.insert(call.begin(), call.end());
    httplib::Params query(system.begin(), system.end());
    query.emplace("sign", test::SdkSignature(all, secret));
    const std::string target = httplib::append_query_params("/router/rest", query);
    http.set_decompress(false);
    const auto res =
        http.Post(target, {{"Accept-Encoding", "gzip"}},
                  httplib::detail::params_to_query_str(httplib::Params(call.begin(), call.end())),
                  "application/x-www-form-urlencoded;charset=utf-8");
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(res->get_header_value("Content-Encoding"), "gzip");
    EXPECT_TRUE(res->get_header_value("Date").ends_with(" GMT")) << res->get_header_value("Date");
    std::string body;
    httplib::detail::gzip_decompressor().decompress(
        res->body.data(), res->body.size(),
        [&body](const char* data, std::size_t n) { return body.append(data, n), true; });
    return nlohmann::json::parse(body);
  };
  const nlohmann::json found = post("orvalen-sandbox-secret")["taobaoke_items_get_response"];
  const nlohmann::json& items = found["taobaoke_items"]["taobaoke_item"];
  ASSERT_EQ(items.size(), 40u) << found;
  EXPECT_GE(found["total_results"].get<long>(), 40);
  EXPECT_EQ(found["request_id"].get<std::string>().size(), 13u);
  for (const nlohmann::json& item : items) {
    const std::string url = item["click_url"];
    EXPECT_NE(url.find("&nick=%E6%88%91%E7%9A%84%E4%BC%9A%E5%91%98&"), std::string::npos) << url;
  }
  const nlohmann::json refused = post("not-the-secret")["error_response"];
  EXPECT_EQ(refused["code"], 25);
  EXPECT_EQ(refused["msg"], "Invalid signature");
  EXPECT_NE(refused["request_id"], found["request_id"]);
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
