// The client against the sandbox, end to end: every command of orvalen-cli,
// chained the way the window chains them.
#include <gtest/gtest.h>

#include "cli/CliCommands.h"
#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

std::string Field(const Row& row, const std::string& name) {
  for (const auto& [n, v] : row) {
    if (n == name) return v;
  }
  return "<absent>";
}

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() : commands(sandbox.server().config_url()) {}
  test::SandboxRunner sandbox;
  CliCommands commands;
};

TEST_F(EndToEndTest, CategoriesTopLevelAndChildren) {
  const CallOutcome top = commands.Cats("");
  ASSERT_TRUE(top.ok) << top.error;
  EXPECT_EQ(Field(top.rows[0], "name"), "数码相机/摄像机/摄影器材");
  EXPECT_EQ(Field(top.rows[59], "name"), "世博会特许商品");
  EXPECT_TRUE(Field(top.rows[60], "name").empty());
  const CallOutcome sub = commands.Cats("1512");
  ASSERT_TRUE(sub.ok);
  EXPECT_EQ(Field(sub.rows[0], "parent_cid"), "1512");
}

TEST_F(EndToEndTest, SearchThenSellerCreditThenShopChain) {
  ItemOptions q;
  q.keyword = "MP3";
  q.sort = "price_desc";
  q.start_credit = "1heart";
  q.end_credit = "5goldencrown";
  const CallOutcome items = commands.Items(q);
  ASSERT_TRUE(items.ok) << items.error;
  EXPECT_EQ(Field(items.rows[0], "title").find("MP3") != std::string::npos, true);
  EXPECT_EQ(Field(items.rows[0], "totalResults"), Field(items.rows[39], "totalResults"));
  EXPECT_GE(std::stod(Field(items.rows[0], "price")), std::stod(Field(items.rows[39], "price")));
  EXPECT_GT(Field(items.rows[0], "click_url").size(), 100u);

  std::string nicks;
  for (int i = 0; i < 40; ++i) nicks += Field(items.rows[i], "nick") + ",";
  const CallOutcome users = commands.Users(nicks);
  ASSERT_TRUE(users.ok) << users.error;
  EXPECT_EQ(Field(users.rows[0], "nick"), Field(items.rows[0], "nick"));
  EXPECT_FALSE(Field(users.rows[0], "seller_credit.level").empty());

  const CallOutcome shop = commands.Shop(Field(items.rows[0], "nick"));
  ASSERT_TRUE(shop.ok) << shop.error;
  const CallOutcome converted = commands.Convert(Field(shop.rows[0], "sid"));
  ASSERT_TRUE(converted.ok) << converted.error;
  EXPECT_NE(Field(converted.rows[0], "click_url").find("nick=peldrun"), std::string::npos);
  EXPECT_EQ(Field(converted.rows[0], "shop_rate"), "5.50");
}

TEST_F(EndToEndTest, ListUrlAndRefusalsCarryTheGatewaysReason) {
  const CallOutcome list = commands.Listurl("诺基亚 N97");
  ASSERT_TRUE(list.ok) << list.error;
  EXPECT_NE(Field(list.rows[0], "list_url_by_q").find("/list?q="), std::string::npos);
  ItemOptions bad;
  bad.keyword = "x";
  bad.start_credit = "9crown";
  bad.end_credit = "5crown";
  const CallOutcome refused = commands.Items(bad);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, "gateway error 41: Invalid arguments:start_credit");
}

}  // namespace
}  // namespace orvalen
