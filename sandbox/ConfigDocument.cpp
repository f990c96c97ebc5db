#include "sandbox/ConfigDocument.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "sandbox/XmlWriter.h"

namespace orvalen::sandbox {
namespace {

using Leaves = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// Leaves whose text is their own name.
void Same(XmlWriter& w, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) w.Leaf(n, n);
}

void Group(XmlWriter& w, std::string_view group, Leaves leaves) {
  w.Open(group);
  for (const auto& [leaf, text] : leaves) w.Leaf(leaf, text);
  w.Close(group);
}

void Cond(XmlWriter& w, std::string_view method) {
  Group(w, "cond", {{"v", "1.0"}, {"method", method}, {"format", "xml"}});
}

// The "name" leaves every section has: version, time, gateway, signature,
// format, method and key.
void SystemNames(XmlWriter& w, const std::string& gateway) {
  w.Leaf("v", "v").Leaf("time", "timestamp").Leaf("http", gateway).Leaf("sign", "sign");
  Same(w, {"format", "method", "app_key"});
}

void ItemSection(XmlWriter& w, const std::string& gateway) {
  w.Open("TaobaokeItem");
  Cond(w, "taobao.taobaoke.items.get");
  w.Open("back");
  Same(w, {"iid", "nick", "title", "price", "pic_url", "click_url", "commission", "commission_num",
           "commission_rate", "commission_volume"});
  w.Close("back").Open("name");
  SystemNames(w, gateway);
  Same(w, {"cid", "area", "sort", "nick", "fields", "keyword", "page_no", "page_size"});
  for (const auto& [leaf, name] : Leaves{{"auto", "auto_send"},
                                         {"s_num", "start_commissionNum"},
                                         {"e_num", "end_commissionNum"},
                                         {"s_rate", "start_commissionRate"},
                                         {"e_rate", "end_commissionRate"},
                                         {"s_price", "start_price"},
                                         {"e_price", "end_price"},
                                         {"s_credit", "start_credit"},
                                         {"e_credit", "end_credit"},
                                         {"guarantee", "is_guarantee"}}) {
    w.Leaf(leaf, name);
  }
  w.Close("name");
  Group(w, "xmlname", {{"totalResults", "totalResults"}});
  w.Close("TaobaokeItem");
}

void UsersSection(XmlWriter& w, const std::string& gateway) {
  w.Open("TaobaoUsers");
  Cond(w, "taobao.users.get");
  w.Open("back");
  Same(w, {"sex", "nick", "city", "state", "user_id", "created", "last_visit"});
  for (std::string_view credit : {"buyer_credit", "seller_credit"}) {
    Group(w, credit,
          {{"lever", "level"},
           {"scord", "score"},
           {"good_num", "good_num"},
           {"total_num", "total_num"}});
  }
  w.Close("back").Open("name");
  SystemNames(w, gateway);
  Same(w, {"nicks", "fields"});
  w.Close("name").Open("xmlname");
  Same(w, {"user", "location", "buyer_credit", "seller_credit"});
  w.Close("xmlname").Close("TaobaoUsers");
}

// A section whose "back" and "xmlname" leaves carry their own names, and
// whose "name" adds `params` to the system names.
void PlainSection(XmlWriter& w, const std::string& gateway, std::string_view section,
                  std::string_view method, std::initializer_list<std::string_view> back,
                  std::initializer_list<std::string_view> params, std::string_view marker) {
  w.Open(section);
  Cond(w, method);
  w.Open("back");
  Same(w, back);
  w.Close("back").Open("name");
  SystemNames(w, gateway);
  Same(w, params);
  w.Close("name");
  Group(w, "xmlname", {{marker, marker}});
  w.Close(section);
}

}  // namespace

std::string ConfigDocument(const std::string& app_key, const std::string& app_secret,
                           const std::string& gateway_url) {
  XmlWriter w;
  w.Open("config");
  Group(w, "api", {{"app_key", app_key}, {"app_sec", app_secret}});
  ItemSection(w, gateway_url);
  UsersSection(w, gateway_url);
  PlainSection(
      w, gateway_url, "TaobaoShop", "taobao.shop.get",
      {"sid", "cid", "nick", "desc", "title", "created", "bulletin", "pic_path", "modified"},
      {"nick", "fields"}, "shop");
  w.Open("TaobaokeShop");
  Cond(w, "taobao.taobaoke.shops.convert");
  Group(w, "back",
        {{"user_id", "user_id"},
         {"click_url", "click_url"},
         {"shop_rate", "shop_commission.rate"},
         {"shop_title", "shop_title"}});
  w.Open("name");
  SystemNames(w, gateway_url);
  Same(w, {"nick", "sids", "fields"});
  w.Close("name");
  Group(w, "xmlname", {{"taobaokeShop", "taobaokeShop"}});
  w.Close("TaobaokeShop");
  PlainSection(w, gateway_url, "TaobaokeListurl", "taobao.taobaoke.listurl.get", {"list_url_by_q"},
               {"q", "nick"}, "taobaokeItem");
  PlainSection(w, gateway_url, "TaobaoCats", "taobao.itemcats.get",
               {"cid", "name", "status", "is_parent", "parent_cid", "sort_order"},
               {"cids", "fields", "parent_cid"}, "item_cat");
  w.Close("config");
  return w.Take();
}

}  // namespace orvalen::sandbox
