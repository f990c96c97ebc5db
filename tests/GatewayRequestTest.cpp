// Gateway parameters read from a query string and an urlencoded POST form,
// and what the gateway makes of them.
#include "sandbox/GatewayRequest.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "sandbox/AnswerSupport.h"

#include "support/GatewayFixture.h"

namespace orvalen::sandbox {
namespace {

constexpr std::string_view kForm = "application/x-www-form-urlencoded";

TEST(GatewayRequestTest, FormDecodingOfPlusEscapesAndOddPairs) {
  Params p;
  ParseForm("q=a+b%2Bc&name=%E4%B8%AD%e6%96%87&&empty=&bare&=orphan&bad=%zz%4&x=1=2", p);
  EXPECT_EQ(Param(p, "q"), "a b+c");
  EXPECT_EQ(Param(p, "name"), "中文");  // either case of hex digits
  EXPECT_EQ(Param(p, "bad"), "%zz%4");  // malformed escapes stay as they are
  EXPECT_EQ(Param(p, "x"), "1=2");
  EXPECT_TRUE(p.contains("empty"));
  EXPECT_TRUE(p.contains("bare"));
  EXPECT_FALSE(p.contains(""));  // a pair without a name is dropped
  EXPECT_EQ(p.size(), 6u);
}

TEST(GatewayRequestTest, TheFormIsReadOnlyWhenItSaysItIsOne) {
  for (const std::string_view type :
       {kForm, std::string_view("Application/X-WWW-Form-Urlencoded; charset=UTF-8"),
        std::string_view(" application/x-www-form-urlencoded ;charset=utf-8")}) {
    EXPECT_EQ(ReadParams({"a=1", "b=2", type}).params.size(), 2u) << type;
  }
  for (const std::string_view type : {std::string_view(""), std::string_view("text/plain"),
                                      std::string_view("multipart/form-data; boundary=x"),
                                      std::string_view("application/x-www-form-urlencodedx")}) {
    EXPECT_EQ(ReadParams({"a=1", "b=2", type}).params.size(), 1u) << type;
  }
}

TEST(GatewayRequestTest, ANameInTheQueryAndTheFormIsReported) {
  const RequestParams both = ReadParams({"v=2.0&sign=A", "method=m&sign=B", kForm});
  EXPECT_EQ(both.duplicate, "sign");
  const RequestParams apart = ReadParams({"v=2.0&v=1.0", "method=m", kForm});
  EXPECT_EQ(apart.duplicate, "");  // repeated within one place: the first counts
  EXPECT_EQ(Param(apart.params, "v"), "2.0");
}

class GatewayOverRequestsTest : public GatewayFixture {
 protected:
  // The signed parameters as an encoded form.
  static std::string Encoded(const Params& params) {
    std::string text;
    for (const auto& [name, value] : params) {
      if (!text.empty()) text += '&';
      text += name + "=" + UrlEncode(value);
    }
    return text;
  }
};

TEST_F(GatewayOverRequestsTest, QueryFormAndAnySplitOfTheTwoAnswerAlike) {
  const Params signed_params =
      Request("taobao.taobaoke.items.get",
              {{"keyword", "手机 配件"}, {"nick", "peldrun"}, {"fields", "iid,title,click_url"}},
              "2.0", "json");
  const std::string all = Encoded(signed_params);
  const GatewayAnswer by_query = Handle(GatewayRequest{all, "", ""});
  ASSERT_EQ(by_query.outcome, "ok") << by_query.body;
  // The same answer but for its request id.
  const auto answer = [](const GatewayAnswer& a) {
    nlohmann::json json = nlohmann::json::parse(a.body);
    json["taobaoke_items_get_response"].erase("request_id");
    return json;
  };
  EXPECT_EQ(answer(Handle(GatewayRequest{"", all, kForm})), answer(by_query));

  Params system, call;
  for (const auto& [name, value] : signed_params) {
    (name == "keyword" || name == "nick" || name == "fields" ? call : system).emplace(name, value);
  }
  EXPECT_EQ(answer(Handle(GatewayRequest{Encoded(system), Encoded(call), kForm})),
            answer(by_query));
}

TEST_F(GatewayOverRequestsTest, ANameGivenTwiceIsRefusedInTheRequestsDialect) {
  const std::string form =
      Encoded(Request("taobao.itemcats.get", {{"parent_cid", "0"}}, "2.0", "json"));
  const GatewayAnswer a = Handle(GatewayRequest{"parent_cid=0", form, kForm});
  EXPECT_EQ(a.outcome, "41");
  EXPECT_EQ(a.content_type, "application/json; charset=utf-8");
  EXPECT_EQ(nlohmann::json::parse(a.body)["error_response"]["msg"], "Invalid arguments:parent_cid");
}

}  // namespace
}  // namespace orvalen::sandbox
