#include "openapi/TaobaokeItem.h"

#include <algorithm>

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Item = TaobaokeItemCall;

const char* Item::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  if (c.cid.empty() && c.keyword.empty()) return "neither cid nor keyword";
  if (c.nick.empty()) return "no affiliate nick";
  return nullptr;
}

void Item::ApplyDefaults(Records& r) {
  using N = Name;
  FillEmpty<N>(r.name, {{&N::cid, "cid"},
                        {&N::auto_send, "auto_send"},
                        {&N::area, "area"},
                        {&N::sort, "sort"},
                        {&N::nick, "nick"},
                        {&N::start_commissionNum, "start_commissionNum"},
                        {&N::end_commissionNum, "end_commissionNum"},
                        {&N::start_commissionRate, "start_commissionRate"},
                        {&N::end_commissionRate, "end_commissionRate"},
                        {&N::keyword, "keyword"},
                        {&N::start_price, "start_price"},
                        {&N::end_price, "end_price"},
                        {&N::page_no, "page_no"},
                        {&N::start_credit, "start_credit"},
                        {&N::end_credit, "end_credit"},
                        {&N::page_size, "page_size"},
                        {&N::is_guarantee, "is_guarantee"}});
  using I = Info;
  FillEmpty<I>(r.names, {{&I::iid, "iid"},
                         {&I::nick, "nick"},
                         {&I::title, "title"},
                         {&I::price, "price"},
                         {&I::pic_url, "pic_url"},
                         {&I::click_url, "click_url"},
                         {&I::commission, "commission"},
                         {&I::commission_num, "commission_num"},
                         {&I::commission_rate, "commission_rate"},
                         {&I::commission_volume, "commission_volume"}});
  FillEmpty(r.xml.totalResults, "totalResults");
}

std::string Item::FieldsValue(const Records& r) {
  const Info& i = r.names;
  return JoinFields({i.iid, i.title, i.nick, i.pic_url, i.price, i.click_url, i.commission,
                     i.commission_rate, i.commission_num, i.commission_volume});
}

std::array<RequestParam, 23> Item::Params(const Records& r, std::string_view fields,
                                          std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.area, c.area, K::Text},
           {n.auto_send, c.auto_send, K::Plain},
           {n.cid, c.cid, K::Plain},
           {n.end_commissionNum, c.end_commissionNum, K::Plain},
           {n.end_commissionRate, c.end_commissionRate, K::Plain},
           {n.end_credit, c.end_credit, K::Plain},
           {n.end_price, c.end_price, K::Plain},
           {n.fields, fields, K::Plain},
           {n.format, c.format, K::Plain},
           {n.is_guarantee, c.is_guarantee, K::Plain},
           {n.keyword, c.keyword, K::Text},
           {n.method, c.method, K::Plain},
           {n.nick, c.nick, K::Text},
           {n.page_no, c.page_no, K::Plain},
           {n.page_size, c.page_size, K::Plain},
           {n.sort, c.sort, K::Plain},
           {n.start_commissionNum, c.start_commissionNum, K::Plain},
           {n.start_commissionRate, c.start_commissionRate, K::Plain},
           {n.start_credit, c.start_credit, K::Plain},
           {n.start_price, c.start_price, K::Plain},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

// Child 0 of the answer is the total count; every later child is an item,
// whatever its name. Items beyond the storage are ignored.
void Item::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const std::vector<XmlNode> children = root.Children(out.size() + 1);
  if (children.size() < 2) return;
  std::string total;
  reader.Read(root, r.xml.totalResults, total);
  const Info& n = r.names;
  for (std::size_t k = 1; k < children.size() && reader.ok(); ++k) {
    const XmlNode item = children[k];
    Info& e = out[k - 1];
    e.totalResults = total;
    reader.Read(item, n.iid, e.iid);
    reader.Read(item, n.nick, e.nick);
    reader.Read(item, n.title, e.title);
    e.title = StripTags(e.title);
    reader.Read(item, n.price, e.price);
    reader.Read(item, n.pic_url, e.pic_url);
    reader.Read(item, n.click_url, e.click_url);
    reader.Read(item, n.commission, e.commission);
    reader.Read(item, n.commission_num, e.commission_num);
    reader.Read(item, n.commission_rate, e.commission_rate);
    reader.Read(item, n.commission_volume, e.commission_volume);
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
