#include "openapi/TaobaokeItem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/CannedAnswers.h"
#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

std::string ItemXml(int i, const std::string& title) {
  const std::string n = std::to_string(i);
  return test::ItemEntryXml({.iid = n,
                             .nick = "seller" + n,
                             .title = title,
                             .price = n + ".50",
                             .pic_url = "http://img/" + n + ".jpg",
                             .click_url = "http://click/" + n,
                             .commission_num = n});
}

std::string Answer(int count, const std::string& extra = "") {
  std::string xml =
      std::string(test::kXmlDeclaration) + "\n<rsp>\n<totalResults>1234</totalResults>\n";
  for (int i = 0; i < count; ++i) xml += ItemXml(i, "item " + std::to_string(i)) + "\n";
  return xml + extra + "</rsp>\n<!--top011.cm4-->";
}

using TaobaokeItemTest = test::GatewayTest<TTaobaokeItem, [](TaobaokeItemConditions& c) {
  c.nick = "peldrun";
  c.cid = "0";
}>;

TEST_F(TaobaokeItemTest, SendsAll23ParametersInOrderWithKindsAndASignature) {
  gateway.answer = Answer(0);
  cond.keyword = "搜索";
  cond.area = "江苏,浙江";
  cond.sort = "price_desc";
  cond.start_credit = "1heart";
  cond.end_credit = "5goldencrown";
  cond.page_no = "2";
  ASSERT_TRUE(Fetch()) << component.LastError().message;
  const std::string url = LastUrl();
  const test::QueryPairs q = test::SplitQuery(url);
  // 23 names in the signing order (by name), the signature last.
  std::vector<std::string> names = test::Names(q);
  EXPECT_EQ(names.size(), 24u);
  EXPECT_EQ(names.back(), "sign");
  names.pop_back();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(test::ValueOf(q, "keyword"), "%E6%90%9C%E7%B4%A2");
  EXPECT_EQ(test::PercentDecode(test::ValueOf(q, "area")), "江苏,浙江");
  EXPECT_EQ(test::ValueOf(q, "nick"), "%70%65%6C%64%72%75%6E");
  EXPECT_EQ(test::ValueOf(q, "cid"), "0");
  EXPECT_EQ(test::ValueOf(q, "end_price"), "");
  EXPECT_EQ(test::ValueOf(q, "fields"),
            "iid,title,nick,pic_url,price,click_url,commission,commission_rate,commission_num,"
            "commission_volume");
  EXPECT_EQ(test::ValueOf(q, "method"), "taobao.taobaoke.items.get");
  EXPECT_EQ(test::ValueOf(q, "format"), "xml");
  EXPECT_EQ(test::ValueOf(q, "v"), "1.0");
  EXPECT_EQ(test::ValueOf(q, "timestamp"), test::kTimestampInUrl);
  EXPECT_TRUE(test::SignatureMatches(url, kSecret));
  EXPECT_EQ(url.find(kSecret), std::string::npos);
  EXPECT_EQ(component.BuildRequestURL(), url);
}

TEST_F(TaobaokeItemTest, ConfiguredNamesKeepTheirPlaceInTheOrder) {
  gateway.answer = Answer(0);
  name.cid = "zz_category";
  name.sign = "signature";
  name.fields = "f";
  info_names.title = "name";
  ASSERT_TRUE(Fetch());
  const test::QueryPairs q = test::SplitQuery(gateway.last_target());
  const std::vector<std::string> names = test::Names(q);
  EXPECT_EQ(names[3], "zz_category");
  EXPECT_EQ(names[8], "f");
  EXPECT_EQ(names.back(), "signature");
  EXPECT_EQ(test::ValueOf(q, "f").substr(0, 9), "iid,name,");
  EXPECT_TRUE(test::SignatureMatches(LastUrl(), kSecret, "signature"));
}

TEST_F(TaobaokeItemTest, RefusesWithoutKeyOrCategoryAndKeywordOrNick) {
  gateway.answer = Answer(1);
  struct Case {
    void (*change)(TaobaokeItemConditions&);
    bool sent;
  } cases[] = {
      {[](TaobaokeItemConditions& c) { c.app_key.clear(), c.app_secret.clear(); }, false},
      {[](TaobaokeItemConditions& c) { c.app_key.clear(); }, true},
      {[](TaobaokeItemConditions& c) { c.cid.clear(); }, false},
      {[](TaobaokeItemConditions& c) { c.cid.clear(), c.keyword = "MP3"; }, true},
      {[](TaobaokeItemConditions& c) { c.nick.clear(); }, false},
  };
  for (const Case& c : cases) {
    TaobaokeItemConditions changed = cond;
    c.change(changed);
    const std::size_t before = gateway.calls();
    EXPECT_EQ(component.Fetch(changed, info_names, name, xml, results), c.sent);
    EXPECT_EQ(gateway.calls() - before, c.sent ? 1u : 0u);
    if (!c.sent) {
      EXPECT_EQ(component.LastError().kind, FetchError::Kind::Precondition);
    }
  }
}

TEST_F(TaobaokeItemTest, ItemsFillTheEntriesWithTitleMarkupStrippedUpToTheStorage) {
  gateway.answer = Answer(39, ItemXml(39, "<span class=H>MP3</span> 播放器 <b>N97</b>"));
  ASSERT_TRUE(Fetch());
  const ATaobaokeItemInfo& r = *results;
  EXPECT_EQ(r[0].iid, "0");
  EXPECT_EQ(r[0].nick, "seller0");
  EXPECT_EQ(r[0].title, "item 0");
  EXPECT_EQ(r[0].price, "0.50");
  EXPECT_EQ(r[0].click_url, "http://click/0");
  EXPECT_EQ(r[0].commission_volume, "9.9");
  EXPECT_EQ(r[39].title, "MP3 播放器 N97");
  for (int i = 0; i < 40; ++i) EXPECT_EQ(r[i].totalResults, "1234");
  EXPECT_TRUE(r[40].title.empty());
  EXPECT_TRUE(r[40].totalResults.empty());
  gateway.answer = Answer(45);  // beyond the storage's 41 entries: ignored
  ASSERT_TRUE(Fetch());
  EXPECT_EQ((*results)[40].iid, "40");
}

TEST_F(TaobaokeItemTest, MissingEmptyAndOddlyNamedChildren) {
  gateway.answer = Answer(0,
                          "<other><title>renamed item</title><price/></other>"
                          "<!-- a comment counts as an item -->"
                          "<taobaokeItem><iid>9</iid></taobaokeItem>");
  ASSERT_TRUE(Fetch());
  const ATaobaokeItemInfo& r = *results;
  EXPECT_EQ(r[0].title, "renamed item");
  EXPECT_EQ(r[0].price, "");
  EXPECT_EQ(r[0].iid, "");
  EXPECT_EQ(r[1].title, "");
  EXPECT_EQ(r[2].iid, "9");
}

TEST_F(TaobaokeItemTest, OnlyTheMarkerMeansNoItems) {
  gateway.answer = Answer(3);
  ASSERT_TRUE(Fetch());
  gateway.answer = "<rsp><totalResults>0</totalResults></rsp>";
  ASSERT_TRUE(Fetch());
  EXPECT_TRUE((*results)[0].title.empty());
  EXPECT_TRUE((*results)[0].totalResults.empty());
}

// A title that holds elements rather than text (markup is sent in CDATA).
TEST_F(TaobaokeItemTest, AFieldHoldingElementsIsAParseFailure) {
  gateway.answer = Answer(0, "<taobaokeItem><title><b>bold</b></title></taobaokeItem>");
  EXPECT_FALSE(Fetch());
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::Parse);
}

TEST(StripTagsTest, RemovesCompleteTagsOnly) {
  EXPECT_EQ(StripTags("a<b>c</b>d"), "acd");
  EXPECT_EQ(StripTags("<span class=H>诺基亚</span>N97<i></i>"), "诺基亚N97");
  EXPECT_EQ(StripTags("plain title"), "plain title");
  EXPECT_EQ(StripTags("1 < 2"), "1 < 2");
  EXPECT_EQ(StripTags("a > b <c"), "a > b <c");
  EXPECT_EQ(StripTags("<<x>>"), ">");
}

}  // namespace
}  // namespace orvalen
