#include "openapi/TaobaoUsers.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

std::string User(const std::string& nick, const std::string& state, const std::string& city,
                 int level) {
  const std::string lv = std::to_string(level);
  return "<user><sex>m</sex><nick>" + nick + "</nick><location><city>" + city + "</city><state>" +
         state +
         "</state></location><user_id>7</user_id><created>2008-01-01 10:00:00</created>"
         "<last_visit>2010-05-01 10:00:00</last_visit>"
         "<buyer_credit><level>1</level><score>3</score><good_num>3</good_num>"
         "<total_num>3</total_num></buyer_credit><seller_credit><level>" +
         lv + "</level><score>" + lv + "00</score><good_num>90</good_num>" +
         "<total_num>100</total_num></seller_credit></user>";
}

using TaobaoUsersTest =
    test::GatewayTest<TTaobaoUsers, [](TaobaoUsersConditions& c) { c.nicks = "卖家A,seller_B,"; }>;

TEST_F(TaobaoUsersTest, RequestAsksForDottedLocationFieldsAndEncodesNicks) {
  gateway.answer = "<users_get_response>" + User("a", "浙江", "杭州", 6) + "</users_get_response>";
  ASSERT_TRUE(Fetch());
  const std::string url = LastUrl();
  const test::QueryPairs q = test::SplitQuery(url);
  EXPECT_EQ(test::Names(q), (std::vector<std::string>{"app_key", "fields", "format", "method",
                                                      "nicks", "timestamp", "v", "sign"}));
  EXPECT_EQ(test::ValueOf(q, "fields"),
            "sex,nick,location.city,location.state,user_id,created,last_visit,buyer_credit,"
            "seller_credit");
  EXPECT_EQ(test::PercentDecode(test::ValueOf(q, "nicks")), "卖家A,seller_B,");
  EXPECT_EQ(test::ValueOf(q, "nicks").substr(0, 3), "%E5");  // every byte escaped
  EXPECT_EQ(test::ValueOf(q, "method"), "taobao.users.get");
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
}

TEST_F(TaobaoUsersTest, ReadsLocationAndBothCredits) {
  gateway.answer = "<users_get_response>" + User("卖家A", "浙江", "杭州", 6) +
                   User("seller_B", "上海", "上海", 20) + "</users_get_response>";
  ASSERT_TRUE(Fetch());
  const TaobaoUsersInfo& a = (*results)[0];
  EXPECT_EQ(a.nick, "卖家A");
  EXPECT_EQ(a.state, "浙江");
  EXPECT_EQ(a.city, "杭州");
  EXPECT_EQ(a.created, "2008-01-01 10:00:00");
  EXPECT_EQ(a.buyer_credit.level, "1");
  EXPECT_EQ(a.seller_credit.level, "6");
  EXPECT_EQ(a.seller_credit.score, "600");
  EXPECT_EQ(a.seller_credit.total_num, "100");
  EXPECT_EQ((*results)[1].seller_credit.level, "20");
  EXPECT_TRUE((*results)[2].created.empty());
}

TEST_F(TaobaoUsersTest, SellerCreditIsReadUnderTheBuyerCreditNames) {
  info_names.buyer_credit.level = "lvl";
  info_names.seller_credit.level = "ignored";
  gateway.answer =
      "<r><user><created>x</created><seller_credit><lvl>9</lvl><level>1</level>"
      "<ignored>2</ignored></seller_credit></user></r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[0].seller_credit.level, "9");
  EXPECT_EQ(component.records().answer_names.seller_credit.level, "lvl");
  EXPECT_EQ(component.records().answer_names.seller_credit.score, "score");
}

TEST_F(TaobaoUsersTest, EntriesFollowChildrenWhateverTheirNameAndClearTheRest) {
  std::string many = "<r>";
  for (int i = 0; i < 45; ++i) many += User("n" + std::to_string(i), "江苏", "南京", 3);
  gateway.answer = many + "</r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[40].nick, "n40");  // beyond 41 children nothing is written

  gateway.answer = "<r>" + User("a", "s", "c", 1) +
                   "<member><nick>no location</nick><created>y</created></member>" +
                   User("c", "s", "c", 2) + "</r>";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[1].nick, "no location");
  EXPECT_EQ((*results)[1].city, "");
  EXPECT_EQ((*results)[1].seller_credit.level, "");
  EXPECT_EQ((*results)[2].nick, "c");
  EXPECT_TRUE((*results)[3].nick.empty());
  EXPECT_TRUE((*results)[40].nick.empty());
}

TEST_F(TaobaoUsersTest, RefusesWithoutNicks) {
  cond.nicks.clear();
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::Precondition);
  EXPECT_EQ(gateway.calls(), 0u);
}

}  // namespace
}  // namespace orvalen
