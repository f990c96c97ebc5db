#include "openapi/TaobaoShop.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Shop = TaobaoShopCall;

const char* Shop::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  if (c.nick.empty()) return "no seller nick";
  return nullptr;
}

void Shop::ApplyDefaults(Records& r) {
  FillEmpty(r.name.nick, "nick");
  using I = Info;
  FillEmpty<I>(r.names, {{&I::sid, "sid"},
                         {&I::cid, "cid"},
                         {&I::nick, "nick"},
                         {&I::title, "title"},
                         {&I::created, "created"},
                         {&I::pic_path, "pic_path"},
                         {&I::modified, "modified"}});
  FillEmpty(r.xml.shop, "shop");
}

std::string Shop::FieldsValue(const Records& r) {
  const Info& i = r.names;
  return JoinFields(
      {i.sid, i.cid, i.nick, i.desc, i.title, i.bulletin, i.created, i.pic_path, i.modified});
}

std::array<RequestParam, 7> Shop::Params(const Records& r, std::string_view fields,
                                         std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.fields, fields, K::Plain},
           {n.format, c.format, K::Plain},
           {n.method, c.method, K::Plain},
           {n.nick, c.nick, K::Text},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

void Shop::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.names;
  const std::optional<XmlNode> shop = root.Find(r.xml.shop);
  reader.Read(shop, n.sid, out.sid);
  reader.Read(shop, n.cid, out.cid);
  reader.Read(shop, n.nick, out.nick);
  if (!n.desc.empty()) reader.Read(shop, n.desc, out.desc);
  reader.Read(shop, n.title, out.title);
  reader.Read(shop, n.created, out.created);
  if (!n.bulletin.empty()) reader.Read(shop, n.bulletin, out.bulletin);
  reader.Read(shop, n.pic_path, out.pic_path);
  reader.Read(shop, n.modified, out.modified);
}

template class ClientComponent<TaobaoShopCall>;

}  // namespace orvalen
