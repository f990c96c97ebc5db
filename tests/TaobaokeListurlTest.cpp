#include "openapi/TaobaokeListurl.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

using TaobaokeListurlTest = test::GatewayTest<TTaobaokeListurl, [](TaobaokeListurlConditions& c) {
  c.nick = "peldrun";
  c.q = "手机";
}>;

TEST_F(TaobaokeListurlTest, SendsNoFieldsAndEncodesKeywordAndNick) {
  gateway.answer =
      "<r><taobaokeItem><list_url_by_q>http://s.click/list?q=1&amp;x=2</list_url_by_q>"
      "</taobaokeItem></r>";
  ASSERT_TRUE(Fetch());
  const std::string url = LastUrl();
  const test::QueryPairs q = test::SplitQuery(url);
  EXPECT_EQ(test::Names(q), (std::vector<std::string>{"app_key", "format", "method", "nick", "q",
                                                      "timestamp", "v", "sign"}));
  EXPECT_EQ(test::ValueOf(q, "q"), "%E6%89%8B%E6%9C%BA");
  EXPECT_EQ(test::ValueOf(q, "nick"), "%70%65%6C%64%72%75%6E");
  EXPECT_EQ(test::ValueOf(q, "method"), "taobao.taobaoke.listurl.get");
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
  EXPECT_EQ(results->list_url_by_q, "http://s.click/list?q=1&x=2");
}

TEST_F(TaobaokeListurlTest, TheUrlComesFromTheFirstChildOnly) {
  gateway.answer =
      "<r><first><other/></first><taobaokeItem><list_url_by_q>u</list_url_by_q></taobaokeItem></r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(results->list_url_by_q, "");
}

TEST_F(TaobaokeListurlTest, FailuresKeepThePreviousUrl) {
  gateway.answer = "<r><taobaokeItem><list_url_by_q>kept</list_url_by_q></taobaokeItem></r>";
  ASSERT_TRUE(Fetch());
  gateway.answer = "<r><item><list_url_by_q>new</list_url_by_q></item></r>";
  EXPECT_FALSE(Fetch());
  cond.q.clear();
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::Precondition);
  EXPECT_EQ(results->list_url_by_q, "kept");
  EXPECT_EQ(gateway.calls(), 2u);
}

}  // namespace
}  // namespace orvalen
