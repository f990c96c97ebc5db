#include "openapi/TaobaoShop.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Shop = TaobaoShopCall;

const char* Shop::Refusal(const Conditions& c) {
  if (c.nick.empty()) return "no seller nick";
  return nullptr;
}

std::string Shop::FieldsValue(const Records& r) {
  const Entry& i = r.answer_names;
  return JoinFields(
      {i.sid, i.cid, i.nick, i.desc, i.title, i.bulletin, i.created, i.pic_path, i.modified});
}

// Fields without a name (the description and the bulletin have no default)
// are not read.
void Shop::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  ReadEntry<Shop>(reader, root.Find(r.marker_names.shop), r.answer_names, out);
}

template class ClientComponent<TaobaoShopCall>;

}  // namespace orvalen
