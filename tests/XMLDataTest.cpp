#include "config/XMLData.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"

namespace orvalen {
namespace {

// Each leaf's text is its own name with a suffix, so a test can tell which
// leaf filled which field.
std::string Leaves(std::initializer_list<const char*> names, const char* suffix = "_N") {
  std::string xml;
  for (const char* n : names) xml += std::string("<") + n + ">" + n + suffix + "</" + n + ">";
  return xml;
}

std::string ItemSection() {
  return "<TaobaokeItem><cond><v>2.0</v><method>m.items</method><format>xml</format></cond>"
         "<back>" +
         Leaves({"iid", "nick", "title", "price", "pic_url", "click_url", "commission",
                 "commission_num", "commission_rate", "commission_volume"}) +
         "</back><name>" +
         Leaves({"v",        "cid",      "auto",      "area",     "sort",    "nick",    "time",
                 "http",     "sign",     "s_num",     "e_num",    "s_rate",  "e_rate",  "fields",
                 "format",   "method",   "app_key",   "keyword",  "s_price", "e_price", "page_no",
                 "s_credit", "e_credit", "page_size", "guarantee"}) +
         "</name><xmlname><totalResults>total_N</totalResults></xmlname></TaobaokeItem>";
}

std::string UsersSection(const std::string& buyer_credit) {
  return "<TaobaoUsers><back>" +
         Leaves({"sex", "nick", "city", "state", "user_id", "created", "last_visit"}) +
         "<buyer_credit>" + buyer_credit + "</buyer_credit><seller_credit>" +
         Leaves({"lever", "scord", "good_num", "total_num"}, "_S") + "</seller_credit></back>" +
         "<name>" + Leaves({"v", "time", "http", "nicks"}) + "</name>" + "<xmlname>" +
         Leaves({"user", "location"}) + "</xmlname></TaobaoUsers>";
}

class XMLDataTest : public ::testing::Test {
 protected:
  XMLDataTest() : config(test::QuickHttp()) {}

  bool Load(const std::string& document) {
    server.Serve("/api" + std::to_string(++served), document);
    return config.LoadKeys(server.Url("/api" + std::to_string(served)), key, secret);
  }

  test::TestServer server;
  TXMLData config;
  std::string key = "old key", secret = "old secret";
  int served = 0;
};

// Key and secret under api/, whatever the root is called; a missing, empty
// or miscased leaf reads as empty; a failure leaves what was not yet read
// and says why as a kind: a web page, not XML, a key that is more than text.
TEST_F(XMLDataTest, LoadKeysReadsWhatIsThereAndLeavesWhatWasNotYetRead) {
  using Kind = FetchError::Kind;
  const struct {
    std::string document;
    Kind failure;
    std::string key_and_secret;  // after loading over "old"
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"GBK\"?><anything><api>\n  <app_key>12345</app_key>"
       "<app_sec><![CDATA[s&cret]]></app_sec></api></anything>",
       Kind::None, "12345|s&cret"},
      {"<r><api><app_key/><APP_SEC>x</APP_SEC></api></r>", Kind::None, "|"},
      {"<r/>", Kind::None, "|"},
      {"<r><api><app_key><x/></app_key><app_sec>s</app_sec></api></r>", Kind::Parse, "old|old"},
      {"<r><api><app_key>k</app_key><app_sec>a<b/></app_sec></api></r>", Kind::Parse, "k|old"},
      {"<r><api>", Kind::NotWellFormed, "old|old"},
      {"\n <!DOCTYPE html><html><body>Sign in to the network</body></html>", Kind::HtmlPage,
       "old|old"},
  };
  for (const auto& c : cases) {
    key = secret = "old";
    EXPECT_EQ(Load(c.document), c.failure == Kind::None) << c.document;
    EXPECT_EQ(key + "|" + secret, c.key_and_secret) << c.document;
    EXPECT_EQ(config.LastFailure().kind, c.failure) << c.document;
  }
  EXPECT_FALSE(config.LoadKeys(server.Url("/missing"), key, secret));
  EXPECT_EQ(config.LastFailure().kind, Kind::HttpStatus);
  EXPECT_EQ(config.LastFailure().status, 404);
}

TEST_F(XMLDataTest, ItemLoaderMapsEveryLeafAndSkipsTheTotalSlot) {
  ASSERT_TRUE(Load("<r>" + ItemSection() + "</r>"));
  TTaobaokeItem::Records r;
  r.cond.keyword = "kept";
  r.answer_names.totalResults = "caller's";
  config.Read(r);
  EXPECT_EQ(r.cond.v, "2.0");
  EXPECT_EQ(r.cond.method, "m.items");
  EXPECT_EQ(r.cond.keyword, "kept");
  EXPECT_EQ(r.answer_names.iid, "iid_N");
  EXPECT_EQ(r.answer_names.commission_volume, "commission_volume_N");
  EXPECT_EQ(r.answer_names.totalResults, "caller's");
  const TaobaokeItemName& n = r.request_names;
  EXPECT_EQ(n.auto_send + n.timestamp + n.url + n.start_commissionNum + n.end_commissionRate +
                n.end_credit + n.is_guarantee,
            "auto_Ntime_Nhttp_Ns_num_Ne_rate_Ne_credit_Nguarantee_N");
  EXPECT_EQ(r.marker_names.totalResults, "total_N");
}

// A present <cond> or <name> empties the leaves it lacks; an absent one
// (<cond> included) leaves the caller's values exactly as they were.
TEST_F(XMLDataTest, PresentSubElementsEmptyTheirMissingLeavesAbsentOnesChangeNothing) {
  ASSERT_TRUE(
      Load("<r><TaobaokeItem><cond><method>only</method></cond><name/></TaobaokeItem>"
           "<TaobaokeListurl><name><q>kw</q></name></TaobaokeListurl></r>"));
  TTaobaokeItem::Records item;
  item.cond.v = item.cond.format = item.answer_names.title = item.marker_names.totalResults = "old";
  item.request_names.cid = item.request_names.url = item.request_names.is_guarantee = "old";
  config.Read(item);
  EXPECT_EQ(item.cond.method, "only");
  EXPECT_EQ(item.cond.v + item.cond.format, "");
  EXPECT_EQ(item.request_names.cid + item.request_names.url + item.request_names.is_guarantee, "");
  EXPECT_EQ(item.answer_names.title, "old");
  EXPECT_EQ(item.marker_names.totalResults, "old");

  TTaobaokeListurl::Records list;
  list.cond.q = "手机";
  list.cond.v = " 2.0\n";
  list.cond.method = "\tm ";
  config.Read(list);
  EXPECT_EQ(list.cond.q, "手机");
  EXPECT_EQ(list.cond.v, " 2.0\n");
  EXPECT_EQ(list.cond.method, "\tm ");
  EXPECT_EQ(list.cond.format, "");
  EXPECT_EQ(list.request_names.q, "kw");
  EXPECT_EQ(list.request_names.url, "");
}

TEST_F(XMLDataTest, UsersCreditNamesAreOneLevelDeeper) {
  ASSERT_TRUE(Load("<r>" + UsersSection("plain text") + "</r>"));
  TTaobaoUsers::Records r;
  r.answer_names.buyer_credit.level = "old";
  config.Read(r);
  const UserCredit& seller = r.answer_names.seller_credit;
  EXPECT_EQ(r.answer_names.last_visit, "last_visit_N");
  EXPECT_EQ(r.answer_names.buyer_credit.level, "");
  EXPECT_EQ(seller.level + seller.score + seller.total_num, "lever_Sscord_Stotal_num_S");
  EXPECT_EQ(r.request_names.nicks, "nicks_N");
  EXPECT_EQ(r.request_names.app_key, "");
  EXPECT_EQ(r.marker_names.location, "location_N");
}

TEST_F(XMLDataTest, ALeafHoldingElementsEndsTheLoaderThere) {
  ASSERT_TRUE(Load("<r>" + UsersSection("<lever><x/></lever>") + "</r>"));
  TTaobaoUsers::Records r;
  r.answer_names.seller_credit.level = r.answer_names.buyer_credit.level = "old";
  r.request_names.nicks = r.marker_names.user = "old";
  config.ReadTaobaoUsers(r.cond, r.answer_names, r.request_names, r.marker_names);
  EXPECT_EQ(r.answer_names.sex, "sex_N");
  EXPECT_EQ(r.answer_names.last_visit, "last_visit_N");
  EXPECT_EQ(r.answer_names.buyer_credit.level, "old");
  EXPECT_EQ(r.answer_names.seller_credit.level, "old");
  EXPECT_EQ(r.request_names.nicks, "old");
  EXPECT_EQ(r.marker_names.user, "old");
}

TEST_F(XMLDataTest, LoadersChangeNothingWithoutADocumentOrASection) {
  TTaobaoShop::Records r;
  r.cond.v = r.request_names.nick = "old";
  config.Read(r);  // never loaded
  EXPECT_FALSE(Load("<broken"));
  config.Read(r);  // load failed
  ASSERT_TRUE(Load("<r><api><app_key>k</app_key></api></r>"));
  config.Read(r);  // no section
  EXPECT_EQ(r.cond.v, "old");
  EXPECT_EQ(r.request_names.nick, "old");
}

// A pretty-printed document wraps its values in line breaks and indents:
// addresses, call values and the keys lose them, names keep what they hold.
TEST_F(XMLDataTest, AddressesCallValuesAndKeysLoseSurroundingBlanks) {
  ASSERT_TRUE(Load(
      "<r><api>\n  <app_key>\n    12345\n  </app_key>\n  <app_sec>\ts3cret </app_sec>\n</api>\n"
      "<TaobaoCats>\n  <cond>\n    <v> 1.0 </v>\n    <method>\n taobao.itemcats.get\n"
      "    </method>\n  </cond>\n  <name>\n    <http>\n      http://gw/router/rest\n"
      "    </http>\n    <cids> cids </cids>\n  </name>\n</TaobaoCats></r>"));
  EXPECT_EQ(key, "12345");
  EXPECT_EQ(secret, "s3cret");
  TTaobaoCats::Records cats;
  config.Read(cats);
  EXPECT_EQ(cats.cond.v, "1.0");
  EXPECT_EQ(cats.cond.method, "taobao.itemcats.get");
  EXPECT_EQ(cats.request_names.url, "http://gw/router/rest");
  EXPECT_EQ(cats.request_names.cids, " cids ");
}

TEST_F(XMLDataTest, ShopConvertAndCategoryLoadersFillTheirRecords) {
  ASSERT_TRUE(Load("<r><TaobaoShop><back>" + Leaves({"desc", "bulletin"}) + "</back><xmlname>" +
                   Leaves({"shop"}) + "</xmlname></TaobaoShop><TaobaokeShop><back>" +
                   Leaves({"shop_rate"}) + "</back><name>" + Leaves({"sids", "time"}) +
                   "</name></TaobaokeShop><TaobaoCats><cond><v>2.0</v></cond><name>" +
                   Leaves({"cids", "parent_cid", "http"}) + "</name><xmlname>" +
                   Leaves({"item_cat"}) + "</xmlname></TaobaoCats></r>"));
  TTaobaoShop::Records shop;
  config.ReadTaobaoShop(shop.cond, shop.answer_names, shop.request_names, shop.marker_names);
  EXPECT_EQ(shop.answer_names.desc + shop.answer_names.bulletin, "desc_Nbulletin_N");
  EXPECT_EQ(shop.marker_names.shop, "shop_N");
  TTaobaokeShop::Records convert;
  config.ReadTaobaokeShop(convert.cond, convert.answer_names, convert.request_names,
                          convert.marker_names);
  EXPECT_EQ(convert.answer_names.shop_rate, "shop_rate_N");
  EXPECT_EQ(convert.request_names.sids + convert.request_names.timestamp, "sids_Ntime_N");
  TTaobaoCats::Records cats;
  config.ReadTaobaoCats(cats.cond, cats.answer_names, cats.request_names, cats.marker_names);
  EXPECT_EQ(cats.cond.v, "2.0");
  EXPECT_EQ(cats.request_names.parent_cid + cats.request_names.url, "parent_cid_Nhttp_N");
  EXPECT_EQ(cats.marker_names.item_cat, "item_cat_N");
}

}  // namespace
}  // namespace orvalen
