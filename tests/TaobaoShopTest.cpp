#include "openapi/TaobaoShop.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

constexpr const char* kShop =
    "<shop_get_response><shop><sid>1001</sid><cid>14</cid><nick>店主</nick>"
    "<desc><![CDATA[<p>desc</p>]]></desc><title>好店</title><created>2007-01-01</created>"
    "<bulletin>notice</bulletin><pic_path>/p.jpg</pic_path><modified>2010-01-01</modified>"
    "</shop></shop_get_response>";

class TaobaoShopTest : public test::GatewayTest<TTaobaoShop> {
 protected:
  TaobaoShopTest() {
    cond.nick = "店主";
    gateway.answer = kShop;
  }
};

TEST_F(TaobaoShopTest, WithoutConfiguredNamesDescAndBulletinAreEmptyItemsAndNotRead) {
  ASSERT_TRUE(Fetch());
  const std::string url = LastUrl();
  const test::QueryPairs q = test::SplitQuery(url);
  EXPECT_EQ(test::Names(q), (std::vector<std::string>{"app_key", "fields", "format", "method",
                                                      "nick", "timestamp", "v", "sign"}));
  EXPECT_EQ(test::ValueOf(q, "fields"), "sid,cid,nick,,title,,created,pic_path,modified");
  EXPECT_EQ(test::ValueOf(q, "nick"), "%E5%BA%97%E4%B8%BB");
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
  EXPECT_EQ(results->sid, "1001");
  EXPECT_EQ(results->nick, "店主");
  EXPECT_EQ(results->modified, "2010-01-01");
  EXPECT_EQ(results->desc, "");
  EXPECT_EQ(results->bulletin, "");
}

TEST_F(TaobaoShopTest, ConfiguredDescAndBulletinAreAskedForBeforeCreatedAndRead) {
  info_names.desc = "desc";
  info_names.bulletin = "bulletin";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(test::ValueOf(test::SplitQuery(gateway.last_target()), "fields"),
            "sid,cid,nick,desc,title,bulletin,created,pic_path,modified");
  EXPECT_EQ(results->desc, "<p>desc</p>");
  EXPECT_EQ(results->bulletin, "notice");

  info_names = {};  // a later call without the names does not keep stale values
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(results->desc, "");
}

TEST_F(TaobaoShopTest, RefusesWithoutNickOrCredentials) {
  cond.nick.clear();
  EXPECT_FALSE(Fetch());
  cond.nick = "x";
  cond.app_key.clear();
  cond.app_secret.clear();
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(gateway.calls(), 0u);
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::Precondition);
}

}  // namespace
}  // namespace orvalen
