// The client against the sandbox, end to end: the search, seller credit and
// shop commands of orvalen-cli, chained the way the window chains them.
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

}  // namespace
}  // namespace orvalen
