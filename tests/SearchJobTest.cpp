#include "app/form/core/SearchJob.h"

#include <gtest/gtest.h>

#include "support/CannedAnswers.h"
#include "support/CannedTransport.h"
#include "support/Fixtures.h"

namespace orvalen {
namespace {

// The controls' logic, not their tables (the window's test sends a search
// with every control set): a price range only when the upper price is set,
// the location's own text from item 5, the first sort order for an index
// out of range.
TEST(SearchJobTest, ControlsMapToRequestValues) {
  TaobaokeItemConditions cond;
  SetItemConditions(SearchControls{}, cond);
  EXPECT_EQ(cond.sort, "commissionNum_desc");
  EXPECT_EQ(cond.start_credit + "-" + cond.end_credit, "1heart-5goldencrown");
  EXPECT_EQ(cond.start_price + cond.end_price + cond.area, "");
  EXPECT_EQ(cond.page_no + cond.cid, "10");
  SearchControls c;
  c.high_price = 100;
  c.area_index = 5;
  c.area_text = "北京";
  c.sort_index = 6;
  c.page_no = 4;
  SetItemConditions(c, cond);
  EXPECT_EQ(cond.start_price + "-" + cond.end_price, "0-100");
  EXPECT_EQ(cond.area, "北京");
  EXPECT_EQ(cond.sort, "commissionNum_desc");
  EXPECT_EQ(cond.page_no, "4");
  c.high_price = 0;
  SetItemConditions(c, cond);
  EXPECT_EQ(cond.start_price + cond.end_price, "");
}

TEST(SearchJobTest, BadgesAndLocations) {
  EXPECT_EQ(BadgeFile("1"), "b_red_1.gif");
  EXPECT_EQ(BadgeFile("6"), "s_blue_1.gif");
  EXPECT_EQ(BadgeFile("15"), "s_cap_5.gif");
  EXPECT_EQ(BadgeFile("20"), "s_crown_5.gif");
  for (const char* bad : {"0", "21", "", "abc", "5x", "-3"}) EXPECT_EQ(BadgeFile(bad), "") << bad;
  EXPECT_EQ(SellerLocation("浙江", "杭州"), "浙江杭州");
  EXPECT_EQ(SellerLocation("上海", "上海"), "上海");
}

class SellerCreditsTest : public test::GatewayTest<TTaobaoUsers> {
 protected:
  SellerCreditsTest() {
    job.users.request_names.url = gateway.url();
    job.users.cond.app_key = "key";
    job.badge_base_url = "http://img/newrank/";
    job.rows.assign(121, Info{});
    const char* nicks[] = {"甲", "乙", "甲", "丙"};
    for (int i = 0; i < 4; ++i) {
      job.rows[i].title = "t";
      job.rows[i].nick = nicks[i];
    }
  }
  static std::string Member(const std::string& nick, const std::string& state,
                            const std::string& city, const std::string& level) {
    return "<user><nick>" + nick + "</nick><created>2008</created><location><city>" + city +
           "</city><state>" + state + "</state></location><seller_credit><level>" + level +
           "</level></seller_credit></user>";
  }
  SearchJob job;
};

TEST_F(SellerCreditsTest, EachMemberCompletesEveryRowOfThatSeller) {
  gateway.answer = "<rsp>" + Member("乙", "上海", "上海", "6") + Member("甲", "浙江", "杭州", "1") +
                   Member("丙", "江苏", "南京", "abc") + "</rsp>";
  ASSERT_TRUE(FetchSellerCredits(component, job));
  EXPECT_EQ(job.users.cond.nicks, "甲,乙,甲,丙,");
  EXPECT_EQ(job.rows[0].location, "浙江杭州");
  EXPECT_EQ(job.rows[0].badge_url, "http://img/newrank/b_red_1.gif");
  EXPECT_EQ(job.rows[2].badge_url, "http://img/newrank/b_red_1.gif");
  EXPECT_EQ(job.rows[1].location, "上海");
  EXPECT_EQ(job.rows[1].badge_url, "http://img/newrank/s_blue_1.gif");
  EXPECT_EQ(job.rows[3].location, "江苏南京");
  EXPECT_EQ(job.rows[3].badge_url, "");  // a level that is not a number: no badge
}

TEST_F(SellerCreditsTest, EntriesWithoutANickArePlacedByPosition) {
  gateway.answer = "<rsp>" + Member("", "a", "b", "2") + Member("", "c", "c", "3") + "</rsp>";
  ASSERT_TRUE(FetchSellerCredits(component, job));
  EXPECT_EQ(job.rows[0].location, "ab");
  EXPECT_EQ(job.rows[1].badge_url, "http://img/newrank/b_red_3.gif");
  EXPECT_EQ(job.rows[2].location, "");
}

// The window's search with a member call that fails: the items are shown,
// without locations or badges.
TEST_F(SellerCreditsTest, AFailedCallLeavesTheRowsWithoutLocationsAndTheSearchStillSucceeds) {
  gateway.answer = "<error_rsp><code>40</code><msg>m</msg></error_rsp>";
  TTaobaokeItem items(std::make_unique<test::CannedTransport>(
      std::string(test::kXmlDeclaration) + "<rsp><totalResults>1</totalResults>" +
      test::ItemEntryXml({.iid = "1",
                          .nick = "甲",
                          .title = "MP3",
                          .price = "9.50",
                          .pic_url = "",
                          .click_url = "http://s.click/1"}) +
      "</rsp>"));
  job.items.request_names.url = "http://gateway/router/rest";
  job.items.cond.nick = "member";
  job.items.cond.app_key = "key";
  job.controls.keyword = "MP3";
  ASSERT_TRUE(RunSearch(items, component, job)) << job.error.message;
  EXPECT_EQ(job.rows[0].title, "MP3");
  EXPECT_EQ(job.rows[0].click_url, "http://s.click/1");
  EXPECT_EQ(job.users.cond.nicks, "甲,");  // the member call was made, and failed
  EXPECT_EQ(job.rows[0].location, "");
  EXPECT_EQ(job.rows[0].badge_url, "");
}

}  // namespace
}  // namespace orvalen
