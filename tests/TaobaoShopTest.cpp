#include "openapi/TaobaoShop.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

using test::FakeGateway;

constexpr const char* kShop =
    "<shop_get_response><shop><sid>1001</sid><cid>14</cid><nick>店主</nick>"
    "<desc><![CDATA[<p>desc</p>]]></desc><title>好店</title><created>2007-01-01</created>"
    "<bulletin>notice</bulletin><pic_path>/p.jpg</pic_path><modified>2010-01-01</modified>"
    "</shop></shop_get_response>";

class TaobaoShopTest : public ::testing::Test {
 protected:
  TaobaoShopTest() : shop(test::QuickHttp(), test::FixedClock()) {
    name.url = gateway.url();
    cond.app_key = "12345";
    cond.app_secret = "secret";
    cond.nick = "店主";
    gateway.answer = kShop;
  }
  bool Fetch() { return shop.Fetch(cond, info_names, name, xml, result); }

  FakeGateway gateway;
  TTaobaoShop shop;
  TaobaoShopConditions cond;
  TaobaoShopInfo info_names;
  TaobaoShopName name;
  TaobaoShopXML xml;
  const TaobaoShopInfo* result = nullptr;
};

TEST_F(TaobaoShopTest, WithoutConfiguredNamesDescAndBulletinAreEmptyItemsAndNotRead) {
  ASSERT_TRUE(Fetch());
  const std::string url = gateway.server.Url(gateway.last_target());
  const test::QueryPairs q = test::SplitQuery(url);
  EXPECT_EQ(test::Names(q), (std::vector<std::string>{"app_key", "fields", "format", "method",
                                                      "nick", "timestamp", "v", "sign"}));
  EXPECT_EQ(test::ValueOf(q, "fields"), "sid,cid,nick,,title,,created,pic_path,modified");
  EXPECT_EQ(test::ValueOf(q, "nick"), "%E5%BA%97%E4%B8%BB");
  EXPECT_TRUE(test::SignatureMatches(url, "secret"));
  EXPECT_EQ(result->sid, "1001");
  EXPECT_EQ(result->nick, "店主");
  EXPECT_EQ(result->modified, "2010-01-01");
  EXPECT_EQ(result->desc, "");
  EXPECT_EQ(result->bulletin, "");
}

TEST_F(TaobaoShopTest, ConfiguredDescAndBulletinAreAskedForBeforeCreatedAndRead) {
  info_names.desc = "desc";
  info_names.bulletin = "bulletin";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(test::ValueOf(test::SplitQuery(gateway.last_target()), "fields"),
            "sid,cid,nick,desc,title,bulletin,created,pic_path,modified");
  EXPECT_EQ(result->desc, "<p>desc</p>");
  EXPECT_EQ(result->bulletin, "notice");

  info_names = {};  // a later call without the names does not keep stale values
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(result->desc, "");
}

TEST_F(TaobaoShopTest, RefusesWithoutNickOrCredentials) {
  cond.nick.clear();
  EXPECT_FALSE(Fetch());
  cond.nick = "x";
  cond.app_key.clear();
  cond.app_secret.clear();
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(gateway.calls(), 0u);
  EXPECT_EQ(shop.LastError().kind, FetchError::Kind::Precondition);
}

}  // namespace
}  // namespace orvalen
