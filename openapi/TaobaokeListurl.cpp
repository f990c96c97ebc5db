#include "openapi/TaobaokeListurl.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Listurl = TaobaokeListurlCall;

const char* Listurl::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  if (c.nick.empty()) return "no affiliate nick";
  if (c.q.empty()) return "no keyword";
  return nullptr;
}

void Listurl::ApplyDefaults(Records& r) {
  FillEmpty<Name>(r.name, {{&Name::q, "q"}, {&Name::nick, "nick"}});
  FillEmpty(r.names.list_url_by_q, "list_url_by_q");
  FillEmpty(r.xml.taobaokeItem, "taobaokeItem");
}

std::array<RequestParam, 7> Listurl::Params(const Records& r, std::string_view /*fields*/,
                                            std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.format, c.format, K::Plain},
           {n.method, c.method, K::Plain},
           {n.nick, c.nick, K::Text},
           {n.q, c.q, K::Text},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

// The URL is read from the answer's first child, whatever its name.
void Listurl::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  reader.Read(root.Child(0), r.names.list_url_by_q, out.list_url_by_q);
}

template class ClientComponent<TaobaokeListurlCall>;

}  // namespace orvalen
