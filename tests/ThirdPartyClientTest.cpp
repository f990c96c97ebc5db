// A client of the platform that shares no code with the sandbox, set up as
// the platform's SDKs are by default (POST form, v2.0, JSON, md5 signature),
// pointed at a sandbox over HTTP.
#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>

#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

using Json = nlohmann::json;

class PlatformClient {
 public:
  PlatformClient(int port, std::string key, std::string secret)
      : http_("127.0.0.1", port), key_(std::move(key)), secret_(std::move(secret)) {}

  Json Call(const std::string& method, std::map<std::string, std::string> params) {
    params["method"] = method;
    params["app_key"] = key_;
    params["v"] = "2.0";
    params["format"] = "json";
    params["sign_method"] = "md5";
    params["timestamp"] = Timestamp();
    std::string text = secret_;  // secret, then names and values by name, then secret
    for (const auto& [name, value] : params) text += name + value;
    params["sign"] = Md5Hex(text + secret_);
    httplib::Params form(params.begin(), params.end());
    const auto res = http_.Post("/router/rest", form);
    if (!res || res->status != 200) return Json();
    content_type = res->get_header_value("Content-Type");
    return Json::parse(res->body);
  }
  std::string content_type;

 private:
  static std::string Timestamp() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now() +
                                                               std::chrono::hours(8));
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &utc);
    return buf;
  }
  static std::string Md5Hex(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < len; ++i) {
      char b[3];
      std::snprintf(b, sizeof b, "%02X", digest[i]);
      hex += b;
    }
    return hex;
  }

  httplib::Client http_;
  std::string key_, secret_;
};

class ThirdPartyClientTest : public ::testing::Test {
 protected:
  test::SandboxRunner sandbox;
  PlatformClient client{sandbox.server().port(), "21008970", "orvalen-sandbox-secret"};
};

TEST_F(ThirdPartyClientTest, ListsCategoriesAndSearchesItemsCreditingItsMember) {
  const Json cats =
      client.Call("taobao.itemcats.get", {{"parent_cid", "0"}, {"fields", "cid,name,is_parent"}});
  EXPECT_EQ(client.content_type, "application/json; charset=utf-8");
  const Json& top = cats["itemcats_get_response"]["item_cats"]["item_cat"];
  ASSERT_TRUE(top.is_array()) << cats;
  ASSERT_FALSE(top.empty());
  const Json& first = top[0];
  EXPECT_TRUE(first["cid"].is_number_integer());
  EXPECT_TRUE(first["is_parent"].is_boolean());

  const Json found =
      client.Call("taobao.taobaoke.items.get", {{"cid", std::to_string(first["cid"].get<long>())},
                                                {"nick", "我的会员"},
                                                {"page_size", "40"},
                                                {"fields", "num_iid,title,price,click_url"}});
  const Json& answer = found["taobaoke_items_get_response"];
  const Json& items = answer["taobaoke_items"]["taobaoke_item"];
  ASSERT_TRUE(items.is_array()) << found;
  EXPECT_EQ(items.size(), 40u);
  EXPECT_GE(answer["total_results"].get<long>(), 40);
  for (const Json& item : items) {
    const std::string url = item["click_url"];
    EXPECT_NE(url.find("&nick=%E6%88%91%E7%9A%84%E4%BC%9A%E5%91%98&"), std::string::npos) << url;
  }
}

TEST_F(ThirdPartyClientTest, AWrongSecretGetsThePlatformsRefusal) {
  PlatformClient wrong(sandbox.server().port(), "21008970", "not-the-secret");
  const Json refused = wrong.Call("taobao.itemcats.get", {{"parent_cid", "0"}});
  ASSERT_TRUE(refused.contains("error_response")) << refused;
  EXPECT_EQ(refused["error_response"]["code"], 25);
  EXPECT_EQ(refused["error_response"]["msg"], "Invalid signature");
}

}  // namespace
}  // namespace orvalen
