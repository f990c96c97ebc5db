#include "openapi/TaobaokeShop.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Convert = TaobaokeShopCall;

const char* Convert::Refusal(const Conditions& c) {
  if (c.nick.empty()) return "no affiliate nick";
  if (c.sids.empty()) return "no shop ids";
  return nullptr;
}

std::string Convert::FieldsValue(const Records& r) {
  const Info& i = r.answer_names;
  return JoinFields({i.user_id, i.shop_title, i.click_url, i.shop_rate});
}

// Every child of the answer is a converted shop, whatever its name.
void Convert::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.answer_names;
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
