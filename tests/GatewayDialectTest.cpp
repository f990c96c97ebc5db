// The gateway's three dialects: v1.0 answers stay byte for byte what they
// were but for their request id; every call answers in v2.0 XML and JSON
// with the same content, the platform's names and JSON types; refusals
// follow the dialect; every answer carries a request id of its own.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "platform/XmlDocument.h"
#include "sandbox/AnswerWriter.h"
#include "sandbox/GatewayRequest.h"
#include "support/GatewayFixture.h"

namespace orvalen::sandbox {
namespace {

using Json = nlohmann::json;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A value of a JSON answer as its XML twin writes it.
std::string AsText(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  return value.dump();
}

// The XML element and the JSON object carry the same members and values,
// lists in the same order; a v2.0 XML list is a wrapper marked list="true".
// The request ids, one per answer, are not compared.
void ExpectSame(XmlNode xml, const Json& json, const std::string& where) {
  ASSERT_TRUE(json.is_object()) << where;
  ASSERT_EQ(xml.ChildCount(), json.size()) << where;
  for (const XmlNode child : xml.Children()) {
    const std::string name(child.Name());
    if (name == "request_id") continue;
    const std::string at = where + "/" + name;
    ASSERT_TRUE(json.contains(name)) << at;
    const Json& value = json.at(name);
    if (child.Attribute("list") == "true") {
      const XmlNode first = *child.Child(0);
      const Json& entries = value.at(std::string(first.Name()));
      ASSERT_TRUE(entries.is_array()) << at;
      const auto xml_entries = child.Children();
      ASSERT_EQ(xml_entries.size(), entries.size()) << at;
      for (std::size_t i = 0; i < entries.size(); ++i) {
        ExpectSame(xml_entries[i], entries[i], at + "[" + std::to_string(i) + "]");
      }
    } else if (value.is_object()) {
      ExpectSame(child, value, at);
    } else {
      EXPECT_EQ(child.Text(), AsText(value)) << at;
    }
  }
}

class GatewayDialectTest : public GatewayFixture {
 protected:
  struct Both {
    Json json;    // the whole JSON answer
    XmlNode xml;  // the XML answer's root
  };
  // The call in v2.0 JSON and XML, checked to say the same thing.
  Both V2(const std::string& method, const Params& call) {
    const GatewayAnswer json = Call(method, call, "2.0", "json");
    const GatewayAnswer xml = Call(method, call, "2.0", "xml");
    EXPECT_EQ(json.content_type, "application/json; charset=utf-8");
    EXPECT_EQ(xml.content_type, "text/xml; charset=utf-8");
    EXPECT_TRUE(doc.Parse(xml.body)) << xml.body;
    Both both{Json::parse(json.body), *doc.Root()};
    const std::string root(both.xml.Name());
    EXPECT_EQ(both.json.size(), 1u);
    ExpectSame(both.xml, both.json.at(root), root);
    // Each answer an id of its own.
    const Json& id = both.json.at(root).at("request_id");
    EXPECT_EQ(id.get<std::string>().size(), 13u);
    EXPECT_NE(both.xml.Find("request_id")->Text(), id.get<std::string>());
    both.json.at(root).erase("request_id");
    return both;
  }

  std::string seller_a = catalogue->sellers()[3].nick;
  std::string seller_b = catalogue->sellers()[9].nick;
  XmlDocument doc;
};

TEST_F(GatewayDialectTest, V1AnswersAreUnchangedByteForByte) {
  const std::string sid = std::to_string(catalogue->sellers()[3].sid);
  const std::string item_fields =
      "iid,title,nick,pic_url,price,click_url,commission,commission_rate,commission_num,"
      "commission_volume";
  const std::string user_fields =
      "sex,nick,location.city,location.state,user_id,created,last_visit,buyer_credit,"
      "seller_credit";
  // The answer's file, the method, the call's own parameters as a form.
  const std::string cases[][3] = {
      {"itemcats-top", "taobao.itemcats.get", "parent_cid=0"},
      {"itemcats-cids", "taobao.itemcats.get",
       "cids=50008090,14,999999&fields=cid,parent_cid,name,is_parent,status,sort_order"},
      {"items-search", "taobao.taobaoke.items.get",
       "keyword=手机&nick=peldrun&page_size=3&fields=" + item_fields},
      {"items-none", "taobao.taobaoke.items.get", "keyword=zzzzqqq&nick=peldrun&fields=iid,title"},
      {"users", "taobao.users.get",
       "nicks=" + seller_b + "," + seller_a + "&fields=" + user_fields},
      {"shop", "taobao.shop.get",
       "nick=" + seller_a + "&fields=sid,cid,nick,title,desc,bulletin,created,pic_path,modified"},
      {"shops-convert", "taobao.taobaoke.shops.convert",
       "sids=" + sid + "&nick=peldrun&fields=user_id,shop_title,click_url,shop_commission.rate"},
      {"listurl", "taobao.taobaoke.listurl.get", "q=连衣裙 red&nick=peldrun"},
      {"refused-fields", "taobao.users.get", "nicks=" + seller_a},
  };
  // The root's request id, which no file can hold, is taken out first.
  const std::regex id(" request_id=\"[0-9a-z]{13}\"");
  for (const auto& [name, method, form] : cases) {
    Params call;
    ParseForm(form, call);
    const GatewayAnswer answer = Handle(Request(method, call));
    EXPECT_TRUE(std::regex_search(answer.body, id)) << answer.body;
    EXPECT_EQ(std::regex_replace(answer.body, id, ""),
              ReadFile(std::string(ORVALEN_TEST_DATA) + "/gateway-v1/" + name + ".xml"))
        << name;
    EXPECT_EQ(answer.content_type, "text/xml; charset=utf-8");
  }
}

TEST_F(GatewayDialectTest, CategoriesAndItemsInV2) {
  const Both cats = V2("taobao.itemcats.get", {{"parent_cid", "0"}});
  EXPECT_EQ(cats.xml.Name(), "itemcats_get_response");
  const Json& list = cats.json["itemcats_get_response"]["item_cats"]["item_cat"];
  const auto top = catalogue->Children(0);
  ASSERT_EQ(list.size(), top.size());
  EXPECT_EQ(list[0]["cid"], top[0]->cid);  // a number, not text
  EXPECT_EQ(list[0]["is_parent"], true);
  EXPECT_EQ(list[0]["name"], top[0]->name);

  const Both items =
      V2("taobao.taobaoke.items.get", {{"keyword", "手机"},
                                       {"nick", "会员 \"甲\""},
                                       {"page_size", "4"},
                                       {"fields", "num_iid,iid,title,price,click_url"}});
  const Json& answer = items.json["taobaoke_items_get_response"];
  EXPECT_TRUE(answer["total_results"].is_number_integer());
  EXPECT_GT(answer["total_results"].get<long>(), 4);
  const Json& found = answer["taobaoke_items"]["taobaoke_item"];
  ASSERT_EQ(found.size(), 4u);
  for (const Json& item : found) {
    EXPECT_TRUE(item["num_iid"].is_number_integer());
    EXPECT_EQ(item["iid"], std::to_string(item["num_iid"].get<long>()));
    EXPECT_TRUE(item["price"].is_string());
    EXPECT_NE(item["title"].get<std::string>().find("手机"), std::string::npos);
    EXPECT_NE(
        item["click_url"].get<std::string>().find("&nick=%E4%BC%9A%E5%91%98%20%22%E7%94%B2%22&"),
        std::string::npos)
        << item["click_url"];
  }
}

TEST_F(GatewayDialectTest, OneEntryIsStillAListAndNoEntriesLeaveTheListOut) {
  const Both one = V2("taobao.users.get", {{"nicks", seller_a}, {"fields", "nick,seller_credit"}});
  const Json& users = one.json["users_get_response"]["users"]["user"];
  ASSERT_TRUE(users.is_array());
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0]["nick"], seller_a);
  EXPECT_TRUE(users[0]["seller_credit"]["level"].is_number_integer());

  const Both none =
      V2("taobao.taobaoke.items.get", {{"keyword", "zzzzqqq"}, {"nick", "m"}, {"fields", "iid"}});
  EXPECT_EQ(none.json, Json::parse(R"({"taobaoke_items_get_response":{"total_results":0}})"));
  EXPECT_EQ(none.xml.ChildCount(), 2u);  // the total and the request id
}

TEST_F(GatewayDialectTest, ShopsAndLinksInV2) {
  const Seller& s = catalogue->sellers()[3];
  const Both shop = V2("taobao.shop.get", {{"nick", s.nick}, {"fields", "sid,nick,title,created"}});
  const Json& found = shop.json["shop_get_response"]["shop"];
  EXPECT_EQ(found["sid"], s.sid);
  EXPECT_EQ(found["title"], s.shop_title);

  const Both convert =
      V2("taobao.taobaoke.shops.convert", {{"sids", std::to_string(s.sid) + ",1"},
                                           {"nick", "peldrun"},
                                           {"fields", "user_id,click_url,shop_commission.rate"}});
  const Json& shops =
      convert.json["taobaoke_shops_convert_response"]["taobaoke_shops"]["taobaoke_shop"];
  ASSERT_EQ(shops.size(), 1u);
  EXPECT_EQ(shops[0]["user_id"], s.user_id);
  EXPECT_EQ(shops[0]["commission_rate"], "5.50");
  EXPECT_NE(shops[0]["click_url"].get<std::string>().find("nick=peldrun"), std::string::npos);

  const Both list = V2("taobao.taobaoke.listurl.get", {{"q", "连衣裙"}, {"nick", "peldrun"}});
  const Json& link = list.json["taobaoke_listurl_get_response"]["taobaoke_item"]["list_url_by_q"];
  EXPECT_NE(link.get<std::string>().find("nick=peldrun"), std::string::npos);
}

TEST_F(GatewayDialectTest, RefusalsFollowTheDialect) {
  Params wrong_secret = Request("taobao.itemcats.get", {{"parent_cid", "0"}}, "2.0", "json");
  wrong_secret.erase("sign");
  wrong_secret.emplace("sign", std::string(32, 'F'));
  const GatewayAnswer json = Handle(wrong_secret);
  EXPECT_EQ(json.outcome, "25");
  Json refusal = Json::parse(json.body);
  EXPECT_EQ(refusal["error_response"]["request_id"].get<std::string>().size(), 13u);
  refusal["error_response"].erase("request_id");
  EXPECT_EQ(refusal, Json::parse(R"({"error_response":{"code":25,"msg":"Invalid signature"}})"));

  const Json unknown = Json::parse(Call("taobao.nothing.get", {}, "2.0", "json").body);
  EXPECT_EQ(unknown["error_response"]["code"], 22);
  EXPECT_EQ(unknown["error_response"]["sub_code"], "isv.method-not-exist");
  EXPECT_EQ(unknown["error_response"]["sub_msg"], "不存在的方法名:");

  const GatewayAnswer missing = Call("taobao.users.get", {{"fields", "nick"}}, "2.0", "xml");
  ASSERT_TRUE(doc.Parse(missing.body));
  const XmlNode error = *doc.Root();
  EXPECT_EQ(error.Name(), "error_response");
  EXPECT_EQ(error.Find("code")->Text(), "40");
  EXPECT_EQ(error.Find("msg")->Text(), "Missing required arguments:nicks");
  EXPECT_EQ(error.Find("sub_code")->Text(), "isv.missing-parameter");
  EXPECT_EQ(error.Find("sub_msg")->Text(), "缺少必选参数:nicks");

  const Json invalid = Json::parse(
      Call("taobao.itemcats.get", {{"parent_cid", "x"}}, "2.0", "json").body)["error_response"];
  EXPECT_EQ(invalid["code"], 41);
  EXPECT_EQ(invalid["sub_code"], "isv.invalid-parameter");

  // A format the version does not offer is refused in XML.
  for (const auto& [v, format] : {std::pair{"1.0", "json"}, {"2.0", "yaml"}}) {
    const GatewayAnswer a = Call("taobao.itemcats.get", {{"parent_cid", "0"}}, v, format);
    EXPECT_EQ(a.outcome, "41") << v << format;
    ASSERT_TRUE(doc.Parse(a.body)) << a.body;
    EXPECT_EQ(doc.Root()->Find("msg")->Text(), "Invalid arguments:format");
  }
}

// Writes `text` as the markup text of a one-user list and reads it back.
std::string RoundTrip(AnswerStyle style, const std::string& text) {
  const auto w = MakeAnswerWriter(style, "taobao.users.get");
  w->BeginList("users", {"user", "user"});
  w->Entry();
  w->Markup("nick", text);
  w->Close();
  w->EndList();
  const std::string body = w->Finish();
  if (style == AnswerStyle::V2Json) {
    return Json::parse(body)["users_get_response"]["users"]["user"][0]["nick"];
  }
  XmlDocument doc;
  if (!doc.Parse(body)) return "<not well-formed>";
  const XmlNode root = *doc.Root();
  const XmlNode user =
      style == AnswerStyle::V1Xml ? *root.Find("user") : *root.Find("users")->Find("user");
  return user.Find("nick")->Text().value_or("<not text>");
}

TEST(AnswerWriterTest, TextOfAnyKindComesBackUnchanged) {
  const std::string tricky = "引号\"q\" 'a' back\\slash\ttab\nline\rret </b>]]> &amp; x]]";
  for (const AnswerStyle style : {AnswerStyle::V2Json, AnswerStyle::V2Xml, AnswerStyle::V1Xml}) {
    EXPECT_EQ(RoundTrip(style, tricky), tricky) << static_cast<int>(style);
  }
  // JSON can carry every control character; XML cannot.
  const std::string control = "a\x01b\x1f\x7f";
  EXPECT_EQ(RoundTrip(AnswerStyle::V2Json, control), control);
}

TEST(AnswerWriterTest, JsonKeepsChineseAndReplacesBadUtf8) {
  const auto w = MakeAnswerWriter(AnswerStyle::V2Json, "taobao.shop.get");
  w->Text("title",
          "中文\xff\xfe"
          "end");
  const std::string body = w->Finish();
  EXPECT_EQ(Json::parse(body)["shop_get_response"]["title"],
            "中文\uFFFD\uFFFD"
            "end");
  EXPECT_NE(body.find("中文"), std::string::npos);  // UTF-8 as it is, not \u escapes
}

}  // namespace
}  // namespace orvalen::sandbox
