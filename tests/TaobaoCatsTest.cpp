#include "openapi/TaobaoCats.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

std::string Answer(int count) {
  std::string xml = "<itemcats_get_response>";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    xml += "<item_cat><cid>" + n + "</cid><name>类目" + n +
           "</name><status>normal</status><is_parent>true</is_parent><parent_cid>0</parent_cid>"
           "<sort_order>" +
           n + "</sort_order></item_cat>";
  }
  return xml + "</itemcats_get_response><!--cache-->";
}

using TaobaoCatsTest = test::GatewayTest<TTaobaoCats>;

TEST_F(TaobaoCatsTest, TopLevelRequestMatchesTheWorkedExample) {
  gateway.answer = Answer(1);
  ASSERT_TRUE(Fetch());
  const std::string url = LastUrl();
  const std::string expected_head =
      gateway.url() +
      "?app_key=12345&cids=&fields=cid,name,status,is_parent,parent_cid,sort_order&format=xml"
      "&method=taobao.itemcats.get&parent_cid=0&timestamp=" +
      test::kTimestampInUrl + "&v=1.0&sign=";
  EXPECT_EQ(url.substr(0, expected_head.size()), expected_head);
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
}

TEST_F(TaobaoCatsTest, ParentIsLeftEmptyWhenIdsAreGiven) {
  gateway.answer = Answer(1);
  cond.cids = "14,16";
  ASSERT_TRUE(Fetch());
  const test::QueryPairs q = test::SplitQuery(gateway.last_target());
  EXPECT_EQ(test::ValueOf(q, "cids"), "14,16");
  EXPECT_EQ(test::ValueOf(q, "parent_cid"), "");
  cond.cids.clear();
  cond.parent_cid = "50008090";
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(test::ValueOf(test::SplitQuery(gateway.last_target()), "parent_cid"), "50008090");
}

TEST_F(TaobaoCatsTest, FillsAtMostSixtyEntriesAndClearsTheRest) {
  gateway.answer = Answer(75);
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[59].name, "类目59");
  EXPECT_EQ((*results)[59].sort_order, "59");
  EXPECT_TRUE((*results)[60].name.empty());

  gateway.answer = Answer(3);
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[2].cid, "2");
  EXPECT_EQ((*results)[2].status, "normal");
  for (int i = 3; i <= 60; ++i) EXPECT_TRUE((*results)[i].cid.empty()) << i;
}

TEST_F(TaobaoCatsTest, AnAnswerWithoutCategoriesIsAFailure) {
  gateway.answer = "<itemcats_get_response></itemcats_get_response>";
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::NoMarker);
}

}  // namespace
}  // namespace orvalen
