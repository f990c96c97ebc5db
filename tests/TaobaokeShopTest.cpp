#include "openapi/TaobaokeShop.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

std::string Converted(int i) {
  const std::string n = std::to_string(i);
  return "<taobaokeShop><user_id>" + n + "</user_id><shop_title>店" + n +
         "</shop_title><click_url>http://s.click/" + n +
         "</click_url><shop_commission.rate>5.5</shop_commission.rate></taobaokeShop>";
}

using TaobaokeShopTest = test::GatewayTest<TTaobaokeShop, [](TaobaokeShopConditions& c) {
  c.nick = "peldrun";
  c.sids = "1001";
}>;

TEST_F(TaobaokeShopTest, SidsArePlainAndTheDottedRateIsOneElementName) {
  gateway.answer = "<r>" + Converted(0) + "</r>";
  cond.sids = "1001,1002";
  ASSERT_TRUE(Fetch());
  const std::string url = LastUrl();
  const test::QueryPairs q = test::SplitQuery(url);
  EXPECT_EQ(test::ValueOf(q, "sids"), "1001,1002");
  EXPECT_EQ(test::ValueOf(q, "fields"), "user_id,shop_title,click_url,shop_commission.rate");
  EXPECT_EQ(test::ValueOf(q, "method"), "taobao.taobaoke.shops.convert");
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
  EXPECT_EQ((*results)[0].click_url, "http://s.click/0");
  EXPECT_EQ((*results)[0].shop_rate, "5.5");
  EXPECT_EQ((*results)[0].shop_title, "店0");
}

TEST_F(TaobaokeShopTest, AtMostElevenEntriesAndNoStaleOnesAfterAShorterAnswer) {
  std::string many = "<r>";
  for (int i = 0; i < 14; ++i) many += Converted(i);
  gateway.answer = many + "</r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[10].user_id, "10");
  gateway.answer = "<r>" + Converted(7) + "</r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[0].user_id, "7");
  EXPECT_TRUE((*results)[1].user_id.empty());
}

TEST_F(TaobaokeShopTest, RefusesWithoutSidsOrNick) {
  cond.sids.clear();
  EXPECT_FALSE(Fetch());
  cond.sids = "1";
  cond.nick.clear();
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(gateway.calls(), 0u);
}

}  // namespace
}  // namespace orvalen
