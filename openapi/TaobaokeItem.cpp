#include "openapi/TaobaokeItem.h"

#include <algorithm>

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Item = TaobaokeItemCall;

const char* Item::Refusal(const Conditions& c) {
  if (c.cid.empty() && c.keyword.empty()) return "neither cid nor keyword";
  if (c.nick.empty()) return "no affiliate nick";
  return nullptr;
}

std::string Item::FieldsValue(const Records& r) {
  const Entry& i = r.answer_names;
  return JoinFields({i.iid, i.title, i.nick, i.pic_url, i.price, i.click_url, i.commission,
                     i.commission_rate, i.commission_num, i.commission_volume});
}

// Child 0 of the answer is the total count; every later child is an item,
// whatever its name. Items beyond the storage are ignored.
void Item::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const std::vector<XmlNode> children = root.Children(out.size() + 1);
  if (children.size() < 2) return;
  std::string total;
  reader.Read(root, r.marker_names.totalResults, total);
  const Entry& n = r.answer_names;
  for (std::size_t k = 1; k < children.size() && reader.ok(); ++k) {
    const XmlNode item = children[k];
    Entry& e = out[k - 1];
    e.totalResults = total;
    ReadEntry<Item>(reader, item, n, e);
    e.title = StripTags(e.title);
  }
}

std::string StripTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = text.find('<', pos);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('>', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    pos = close + 1;
  }
  out.append(text.substr(pos));
  return out;
}

template class ClientComponent<TaobaokeItemCall>;

}  // namespace orvalen
