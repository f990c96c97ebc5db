// The sandbox gateway as a client meets it: refusals, signature schemes,
// filters, paging and field selection, driven with signed parameter sets.
#include <gtest/gtest.h>

#include <map>

#include "platform/XmlDocument.h"
#include "sandbox/Gateway.h"
#include "sandbox/ItemSearch.h"
#include "support/GatewayFixture.h"
#include "support/QueryCheck.h"

namespace orvalen::sandbox {
namespace {

using namespace std::chrono;

class SandboxGatewayTest : public GatewayFixture {
 protected:
  XmlNode Parse(const GatewayAnswer& a) {
    EXPECT_TRUE(doc.Parse(a.body)) << a.body;
    return *doc.Root();
  }
  std::string Text(XmlNode parent, const std::string& name) {
    const auto node = parent.Find(name);
    return node ? node->Text().value_or("<markup>") : "<absent>";
  }

  XmlDocument doc;
};

// In the platform's order: key, signature, timestamp (text in China time or
// Unix milliseconds), method, arguments. A wrong secret is 25 whatever the
// timestamp says.
TEST_F(SandboxGatewayTest, RefusesBadKeysSignaturesTimesAndCallsInOrder) {
  const Params good = Request("taobao.itemcats.get", {{"parent_cid", "0"}});
  EXPECT_EQ(Handle(good).outcome, "ok");
  const auto with = [&](const std::string& name, const std::string& value,
                        const std::string& secret = "secret") {
    Params p = good;
    p.erase(name);
    if (!value.empty()) p.emplace(name, value);
    return Handle(Signed(p, secret)).outcome;
  };
  const long now_ms = duration_cast<milliseconds>(kNow.time_since_epoch()).count();
  EXPECT_EQ(with("app_key", "other"), "29");
  EXPECT_EQ(with("timestamp", std::to_string(now_ms)), "ok");
  EXPECT_EQ(with("timestamp", std::to_string(now_ms + 9 * 60 * 1000)), "ok");
  EXPECT_EQ(with("timestamp", std::to_string(now_ms - 11 * 60 * 1000)), "31");
  EXPECT_EQ(with("timestamp", std::to_string(now_ms / 1000)), "31");  // seconds are not taken
  EXPECT_EQ(with("timestamp", ""), "31");
  EXPECT_EQ(with("timestamp", "2010-06-01 09:16:00"), "31");  // 11 minutes ahead
  EXPECT_EQ(with("timestamp", "2010-06-01 01:05:03"), "31");  // UTC is not China time
  for (const std::string& time : {std::to_string(now_ms), std::string("2010-06-01 09:05:03"),
                                  std::string("2010-06-01 01:05:03"), std::string("soon")}) {
    EXPECT_EQ(with("timestamp", time, "wrong secret"), "25") << time;
  }
  Params unsigned_request = good;
  unsigned_request.erase("sign");
  EXPECT_EQ(Handle(unsigned_request).outcome, "25");
  Params changed = good;
  changed.find("parent_cid")->second = "1";
  EXPECT_EQ(Handle(changed).outcome, "25");  // a value changed after signing
  EXPECT_EQ(Call("taobao.nothing.get", {}).outcome, "22");
  EXPECT_EQ(Call("taobao.itemcats.get", {}).outcome, "40");
  EXPECT_EQ(Call("taobao.itemcats.get", {{"parent_cid", "x"}}).outcome, "41");
  const XmlNode error = Parse(Handle(Params{}));
  EXPECT_EQ(error.Name(), "error_rsp");
  EXPECT_EQ(Text(error, "code"), "29");
}

TEST_F(SandboxGatewayTest, VersionTwoTakesMd5ByDefaultAndHmacAndRefusesOtherMethods) {
  const std::map<std::string, std::string> base{{"app_key", "key"},
                                                {"method", "taobao.itemcats.get"},
                                                {"parent_cid", "0"},
                                                {"timestamp", "2010-06-01 09:05:03"},
                                                {"v", "2.0"}};
  const auto send = [&](const std::string& sign_method, bool hmac, const std::string& secret) {
    std::map<std::string, std::string> sorted = base;
    if (!sign_method.empty()) sorted["sign_method"] = sign_method;
    Params p(sorted.begin(), sorted.end());
    p.emplace("sign", test::SdkSignature(sorted, secret, hmac));
    return Handle(p).outcome;
  };
  EXPECT_EQ(send("md5", false, "secret"), "ok");
  EXPECT_EQ(send("", false, "secret"), "ok");  // md5 is the default
  EXPECT_EQ(send("hmac", true, "secret"), "ok");
  EXPECT_EQ(send("hmac", false, "secret"), "25");  // an md5 signature sent as hmac
  EXPECT_EQ(send("md5", true, "secret"), "25");
  EXPECT_EQ(send("hmac", true, "wrong"), "25");
  EXPECT_EQ(send("", false, "wrong"), "25");
  EXPECT_EQ(send("sha1", false, "secret"), "41");
  EXPECT_EQ(send("HMAC", true, "secret"), "41");
}

TEST_F(SandboxGatewayTest, CategoriesListChildrenOrTheGivenIds) {
  const XmlNode top = Parse(Call("taobao.itemcats.get", {{"parent_cid", "0"}}));
  EXPECT_EQ(top.ChildCount(), 60u);  // 54 shown by the window and 6 it leaves out
  EXPECT_EQ(Text(*top.Child(0), "name"), "数码相机/摄像机/摄影器材");
  const XmlNode subs = Parse(Call("taobao.itemcats.get", {{"parent_cid", "1201"}}));
  EXPECT_EQ(Text(*subs.Child(0), "name"), "MP3");
  EXPECT_EQ(Text(*subs.Child(0), "parent_cid"), "1201");
  const XmlNode ids =
      Parse(Call("taobao.itemcats.get", {{"cids", "16,1512"}, {"fields", "cid,name"}}));
  EXPECT_EQ(ids.ChildCount(), 2u);
  EXPECT_EQ(Text(*ids.Child(1), "cid"), "1512");
  EXPECT_EQ(Text(*ids.Child(1), "is_parent"), "<absent>");
  EXPECT_EQ(Parse(Call("taobao.itemcats.get", {{"parent_cid", "60000000"}})).ChildCount(), 0u);
}

Params ItemCall(Params extra) {
  extra.emplace("fields", "iid,title,nick,price,click_url,pic_url");
  extra.emplace("nick", "peldrun");
  return extra;
}

TEST_F(SandboxGatewayTest, ItemSearchMarksKeywordsAndPagesWithAMatchingTotal) {
  const XmlNode first = Parse(Call("taobao.taobaoke.items.get", ItemCall({{"keyword", "mp3"}})));
  EXPECT_EQ(first.Child(0)->Name(), "totalResults");
  const long total = std::stol(Text(first, "totalResults"));
  ASSERT_GT(total, 40);
  EXPECT_EQ(first.ChildCount(), 41u);
  const XmlNode item = *first.Child(1);
  EXPECT_NE(Text(item, "title").find("<span class=H>MP3</span>"), std::string::npos);
  EXPECT_GT(Text(item, "click_url").size(), 100u);
  EXPECT_NE(Text(item, "click_url").find("nick=peldrun"), std::string::npos);
  EXPECT_EQ(Text(item, "commission"), "<absent>");  // not asked for

  const std::string last_page = std::to_string((total + 9) / 10);
  const XmlNode last =
      Parse(Call("taobao.taobaoke.items.get",
                 ItemCall({{"keyword", "MP3"}, {"page_size", "10"}, {"page_no", last_page}})));
  EXPECT_EQ(static_cast<long>(last.ChildCount()) - 1, (total - 1) % 10 + 1);
  EXPECT_EQ(
      Call("taobao.taobaoke.items.get", ItemCall({{"keyword", "x"}, {"page_size", "41"}})).outcome,
      "41");
  EXPECT_EQ(Call("taobao.taobaoke.items.get", {{"keyword", "x"}, {"nick", "peldrun"}}).outcome,
            "40");
}

TEST_F(SandboxGatewayTest, ItemFiltersAndSortOrdersHold) {
  ItemFilter q;
  q.cid = 1201;
  q.areas = {"江苏", "上海"};
  q.min_price_cents = 1000;
  q.max_price_cents = 50000;
  q.min_level = 6;
  q.max_level = 15;
  q.sort = SortKey::PriceDesc;
  q.page_size = 40;
  const SearchPage page = Search(*catalogue, q);
  ASSERT_GT(page.total, 0u);
  long previous = 1L << 40;
  for (const Item* item : page.items) {
    const Seller& s = catalogue->sellers()[item->seller];
    EXPECT_EQ(item->top_cid, 1201);
    EXPECT_TRUE(s.state == "江苏" || s.city == "江苏" || s.state == "上海" || s.city == "上海");
    EXPECT_GE(item->price_cents, 1000);
    EXPECT_LE(item->price_cents, 50000);
    EXPECT_GE(s.seller_credit.level, 6);
    EXPECT_LE(s.seller_credit.level, 15);
    EXPECT_LE(item->price_cents, previous);
    previous = item->price_cents;
  }
  EXPECT_EQ(
      Call("taobao.taobaoke.items.get", ItemCall({{"cid", "0"}, {"start_credit", "x"}})).outcome,
      "41");
  EXPECT_EQ(Call("taobao.taobaoke.items.get", ItemCall({{"cid", "0"}, {"sort", "best"}})).outcome,
            "41");
}

TEST_F(SandboxGatewayTest, UsersAnswerEachNickOnceAndSelectDottedFields) {
  const std::string a = catalogue->sellers()[3].nick, b = catalogue->sellers()[9].nick;
  const XmlNode users =
      Parse(Call("taobao.users.get", {{"nicks", b + "," + a + "," + b + ",nobody,"},
                                      {"fields", "nick,location.city,seller_credit"}}));
  ASSERT_EQ(users.ChildCount(), 2u);
  const XmlNode first = *users.Child(0);
  EXPECT_EQ(Text(first, "nick"), b);
  EXPECT_EQ(Text(*first.Find("location"), "city"), catalogue->sellers()[9].city);
  EXPECT_EQ(Text(*first.Find("location"), "state"), "<absent>");
  EXPECT_EQ(Text(*first.Find("seller_credit"), "level"),
            std::to_string(catalogue->sellers()[9].seller_credit.level));
  EXPECT_FALSE(first.Find("buyer_credit"));
  EXPECT_EQ(Text(*users.Child(1), "nick"), a);
}

TEST_F(SandboxGatewayTest, ShopConvertAndListurlAnswerAsTheClientReadsThem) {
  const Seller& s = catalogue->sellers()[5];
  const XmlNode shop = Parse(
      Call("taobao.shop.get", {{"nick", s.nick}, {"fields", "sid,cid,nick,,title,,created"}}));
  EXPECT_EQ(Text(*shop.Find("shop"), "sid"), std::to_string(s.sid));
  EXPECT_EQ(Text(*shop.Find("shop"), "desc"), "<absent>");
  const XmlNode converted =
      Parse(Call("taobao.taobaoke.shops.convert",
                 {{"nick", "peldrun"},
                  {"sids", std::to_string(s.sid)},
                  {"fields", "user_id,shop_title,click_url,shop_commission.rate"}}));
  const XmlNode entry = *converted.Find("taobaokeShop");
  EXPECT_EQ(Text(entry, "shop_commission.rate"), "5.50");
  EXPECT_NE(Text(entry, "click_url").find("/shop?sid="), std::string::npos);
  EXPECT_EQ(Call("taobao.taobaoke.shops.convert",
                 {{"nick", "peldrun"}, {"sids", "1,x"}, {"fields", "click_url"}})
                .outcome,
            "41");
  const XmlNode list =
      Parse(Call("taobao.taobaoke.listurl.get", {{"nick", "peldrun"}, {"q", "手机"}}));
  EXPECT_NE(Text(*list.Find("taobaokeItem"), "list_url_by_q").find("q=%E6%89%8B%E6%9C%BA"),
            std::string::npos);
}

}  // namespace
}  // namespace orvalen::sandbox
