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
  const Entry& i = r.answer_names;
  return JoinFields({i.user_id, i.shop_title, i.click_url, i.shop_rate});
}

// Every child of the answer is a converted shop, whatever its name.
void Convert::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  std::size_t k = 0;
  for (const XmlNode shop : root.Children(out.size())) {
    ReadEntry<Convert>(reader, shop, r.answer_names, out[k++]);
  }
}

template class ClientComponent<TaobaokeShopCall>;

}  // namespace orvalen
