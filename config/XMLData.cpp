#include "config/XMLData.h"

#include <initializer_list>

#include "platform/CurlHttpClient.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {
namespace {

// Configuration values used as addresses or call values lose surrounding
// blanks: a pretty-printed document often wraps them in line breaks.
void TrimBlanks(std::string& value) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = value.find_first_not_of(kBlanks);
  if (first == std::string::npos) {
    value.clear();
    return;
  }
  value.erase(value.find_last_not_of(kBlanks) + 1);
  value.erase(0, first);
}

// The leaf that holds a call's gateway address.
constexpr std::string_view kGatewayLeaf = "http";

// One leaf of a sub-element and the record field its text fills.
template <class R>
struct Leaf {
  std::string_view name;
  std::string R::*field;
};

// Reads the leaves of `group` (if the section has it) into `record`, in order.
template <class R>
void ReadGroup(XmlFieldReader& reader, XmlNode section, std::string_view group, R& record,
               std::initializer_list<Leaf<R>> leaves) {
  const std::optional<XmlNode> sub = section.Find(group);
  if (!sub) return;
  for (const Leaf<R>& leaf : leaves) {
    reader.Read(sub, leaf.name, record.*leaf.field);
    if (!reader.ok()) return;
    if (leaf.name == kGatewayLeaf) TrimBlanks(record.*leaf.field);
  }
}

template <class C>
void ReadCond(XmlFieldReader& reader, XmlNode section, C& cond) {
  ReadGroup<C>(reader, section, "cond", cond,
               {{"v", &C::v}, {"method", &C::method}, {"format", &C::format}});
  if (!reader.ok()) return;
  for (std::string* value : {&cond.v, &cond.method, &cond.format}) TrimBlanks(*value);
}

void ReadCreditNames(XmlFieldReader& reader, XmlNode back, std::string_view group,
                     UserCredit& names) {
  const std::optional<XmlNode> credit = back.Find(group);
  reader.Read(credit, "lever", names.level);
  reader.Read(credit, "scord", names.score);
  reader.Read(credit, "good_num", names.good_num);
  reader.Read(credit, "total_num", names.total_num);
}

}  // namespace

TXMLData::TXMLData(std::unique_ptr<HttpTransport> http)
    : http_(http ? std::move(http) : std::make_unique<CurlHttpClient>()) {}

TXMLData::~TXMLData() = default;

bool TXMLData::LoadKeys(const std::string& url, std::string& app_key, std::string& app_secret) {
  error_.clear();
  document_.Clear();
  HttpResult answer = http_->Get(url);
  if (!answer.ok()) {
    error_ = "configuration not loaded: " + answer.error;
    return false;
  }
  if (!document_.Parse(answer.body)) {
    error_ = "configuration is not well-formed XML: " + document_.Error();
    return false;
  }
  const std::optional<XmlNode> api = document_.Root()->Find("api");
  XmlFieldReader reader;
  reader.Read(api, "app_key", app_key);
  reader.Read(api, "app_sec", app_secret);
  if (reader.ok()) {
    TrimBlanks(app_key);
    TrimBlanks(app_secret);
  }
  if (!reader.ok()) error_ = "configuration: " + reader.error();
  return reader.ok();
}

std::optional<XmlNode> TXMLData::Section(std::string_view name) const {
  const std::optional<XmlNode> root = document_.Root();
  return root ? root->Find(name) : std::nullopt;
}

void TXMLData::ReadTaobaokeItem(TaobaokeItemConditions& cond, TaobaokeItemInfo& info_names,
                                TaobaokeItemName& name, TaobaokeItemXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaokeItem");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  using I = TaobaokeItemInfo;  // totalResults is a result slot, not a name: skipped
  ReadGroup<I>(r, *s, "back", info_names,
               {{"iid", &I::iid},
                {"nick", &I::nick},
                {"title", &I::title},
                {"price", &I::price},
                {"pic_url", &I::pic_url},
                {"click_url", &I::click_url},
                {"commission", &I::commission},
                {"commission_num", &I::commission_num},
                {"commission_rate", &I::commission_rate},
                {"commission_volume", &I::commission_volume}});
  using N = TaobaokeItemName;
  ReadGroup<N>(r, *s, "name", name,
               {{"v", &N::v},
                {"cid", &N::cid},
                {"auto", &N::auto_send},
                {"area", &N::area},
                {"sort", &N::sort},
                {"nick", &N::nick},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"s_num", &N::start_commissionNum},
                {"e_num", &N::end_commissionNum},
                {"s_rate", &N::start_commissionRate},
                {"e_rate", &N::end_commissionRate},
                {"fields", &N::fields},
                {"format", &N::format},
                {"method", &N::method},
                {"app_key", &N::app_key},
                {"keyword", &N::keyword},
                {"s_price", &N::start_price},
                {"e_price", &N::end_price},
                {"page_no", &N::page_no},
                {"s_credit", &N::start_credit},
                {"e_credit", &N::end_credit},
                {"page_size", &N::page_size},
                {"guarantee", &N::is_guarantee}});
  ReadGroup<TaobaokeItemXML>(r, *s, "xmlname", xml,
                             {{"totalResults", &TaobaokeItemXML::totalResults}});
}

void TXMLData::ReadTaobaoUsers(TaobaoUsersConditions& cond, TaobaoUsersInfo& info_names,
                               TaobaoUsersName& name, TaobaoUsersXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaoUsers");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  using I = TaobaoUsersInfo;
  ReadGroup<I>(r, *s, "back", info_names,
               {{"sex", &I::sex},
                {"nick", &I::nick},
                {"city", &I::city},
                {"state", &I::state},
                {"user_id", &I::user_id},
                {"created", &I::created},
                {"last_visit", &I::last_visit}});
  // The two credits are one level deeper: back/buyer_credit/lever and so on.
  if (const std::optional<XmlNode> back = s->Find("back")) {
    ReadCreditNames(r, *back, "buyer_credit", info_names.buyer_credit);
    ReadCreditNames(r, *back, "seller_credit", info_names.seller_credit);
  }
  using N = TaobaoUsersName;
  ReadGroup<N>(r, *s, "name", name,
               {{"v", &N::v},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"nicks", &N::nicks},
                {"fields", &N::fields},
                {"format", &N::format},
                {"method", &N::method},
                {"app_key", &N::app_key}});
  using X = TaobaoUsersXML;
  ReadGroup<X>(r, *s, "xmlname", xml,
               {{"user", &X::user},
                {"location", &X::location},
                {"buyer_credit", &X::buyer_credit},
                {"seller_credit", &X::seller_credit}});
}

void TXMLData::ReadTaobaoShop(TaobaoShopConditions& cond, TaobaoShopInfo& info_names,
                              TaobaoShopName& name, TaobaoShopXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaoShop");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  using I = TaobaoShopInfo;
  ReadGroup<I>(r, *s, "back", info_names,
               {{"sid", &I::sid},
                {"cid", &I::cid},
                {"nick", &I::nick},
                {"desc", &I::desc},
                {"title", &I::title},
                {"created", &I::created},
                {"bulletin", &I::bulletin},
                {"pic_path", &I::pic_path},
                {"modified", &I::modified}});
  using N = TaobaoShopName;
  ReadGroup<N>(r, *s, "name", name,
               {{"v", &N::v},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"nick", &N::nick},
                {"fields", &N::fields},
                {"format", &N::format},
                {"method", &N::method},
                {"app_key", &N::app_key}});
  ReadGroup<TaobaoShopXML>(r, *s, "xmlname", xml, {{"shop", &TaobaoShopXML::shop}});
}

void TXMLData::ReadTaobaokeShop(TaobaokeShopConditions& cond, TaobaokeShopInfo& info_names,
                                TaobaokeShopName& name, TaobaokeShopXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaokeShop");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  using I = TaobaokeShopInfo;
  ReadGroup<I>(r, *s, "back", info_names,
               {{"user_id", &I::user_id},
                {"click_url", &I::click_url},
                {"shop_rate", &I::shop_rate},
                {"shop_title", &I::shop_title}});
  using N = TaobaokeShopName;
  ReadGroup<N>(r, *s, "name", name,
               {{"v", &N::v},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"nick", &N::nick},
                {"sids", &N::sids},
                {"fields", &N::fields},
                {"format", &N::format},
                {"method", &N::method},
                {"app_key", &N::app_key}});
  ReadGroup<TaobaokeShopXML>(r, *s, "xmlname", xml,
                             {{"taobaokeShop", &TaobaokeShopXML::taobaokeShop}});
}

void TXMLData::ReadTaobaokeListurl(TaobaokeListurlConditions& cond, TaobaokeListurlInfo& info_names,
                                   TaobaokeListurlName& name, TaobaokeListurlXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaokeListurl");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  ReadGroup<TaobaokeListurlInfo>(r, *s, "back", info_names,
                                 {{"list_url_by_q", &TaobaokeListurlInfo::list_url_by_q}});
  using N = TaobaokeListurlName;
  ReadGroup<N>(r, *s, "name", name,
               {{"q", &N::q},
                {"v", &N::v},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"nick", &N::nick},
                {"format", &N::format},
                {"method", &N::method},
                {"app_key", &N::app_key}});
  ReadGroup<TaobaokeListurlXML>(r, *s, "xmlname", xml,
                                {{"taobaokeItem", &TaobaokeListurlXML::taobaokeItem}});
}

void TXMLData::ReadTaobaoCats(TaobaoCatsConditions& cond, TaobaoCatsInfo& info_names,
                              TaobaoCatsName& name, TaobaoCatsXML& xml) const {
  const std::optional<XmlNode> s = Section("TaobaoCats");
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  using I = TaobaoCatsInfo;
  ReadGroup<I>(r, *s, "back", info_names,
               {{"cid", &I::cid},
                {"name", &I::name},
                {"status", &I::status},
                {"is_parent", &I::is_parent},
                {"parent_cid", &I::parent_cid},
                {"sort_order", &I::sort_order}});
  using N = TaobaoCatsName;
  ReadGroup<N>(r, *s, "name", name,
               {{"v", &N::v},
                {"time", &N::timestamp},
                {"http", &N::url},
                {"sign", &N::sign},
                {"cids", &N::cids},
                {"format", &N::format},
                {"fields", &N::fields},
                {"method", &N::method},
                {"app_key", &N::app_key},
                {"parent_cid", &N::parent_cid}});
  ReadGroup<TaobaoCatsXML>(r, *s, "xmlname", xml, {{"item_cat", &TaobaoCatsXML::item_cat}});
}

}  // namespace orvalen
