#include "openapi/TaobaoShop.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Shop = TaobaoShopCall;

const char* Shop::Refusal(const Conditions& c) {
  if (c.nick.empty()) return "no seller nick";
  return nullptr;
}

std::string Shop::FieldsValue(const Records& r) {
  const Info& i = r.answer_names;
  return JoinFields(
      {i.sid, i.cid, i.nick, i.desc, i.title, i.bulletin, i.created, i.pic_path, i.modified});
}

void Shop::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.answer_names;
  const std::optional<XmlNode> shop = root.Find(r.marker_names.shop);
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
