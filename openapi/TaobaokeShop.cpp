#include "openapi/TaobaokeShop.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Convert = TaobaokeShopCall;

const char* Convert::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  if (c.nick.empty()) return "no affiliate nick";
  if (c.sids.empty()) return "no shop ids";
  return nullptr;
}

void Convert::ApplyDefaults(Records& r) {
  FillEmpty<Name>(r.name, {{&Name::nick, "nick"}, {&Name::sids, "sids"}});
  using I = Info;
  // "shop_commission.rate" is one element name, dot included, not a path.
  FillEmpty<I>(r.names, {{&I::user_id, "user_id"},
                         {&I::click_url, "click_url"},
                         {&I::shop_rate, "shop_commission.rate"},
                         {&I::shop_title, "shop_title"}});
  FillEmpty(r.xml.taobaokeShop, "taobaokeShop");
}

std::string Convert::FieldsValue(const Records& r) {
  const Info& i = r.names;
  return JoinFields({i.user_id, i.shop_title, i.click_url, i.shop_rate});
}

std::array<RequestParam, 8> Convert::Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.fields, fields, K::Plain},
           {n.format, c.format, K::Plain},
           {n.method, c.method, K::Plain},
           {n.nick, c.nick, K::Text},
           {n.sids, c.sids, K::Plain},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

// Every child of the answer is a converted shop, whatever its name.
void Convert::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.names;
  std::size_t k = 0;
  for (const XmlNode shop : root.Children(out.size())) {
    Info& e = out[k++];
    reader.Read(shop, n.user_id, e.user_id);
    reader.Read(shop, n.click_url, e.click_url);
    reader.Read(shop, n.shop_rate, e.shop_rate);
    reader.Read(shop, n.shop_title, e.shop_title);
  }
}

template class ClientComponent<TaobaokeShopCall>;

}  // namespace orvalen
