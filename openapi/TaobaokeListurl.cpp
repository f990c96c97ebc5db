#include "openapi/TaobaokeListurl.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Listurl = TaobaokeListurlCall;

const char* Listurl::Refusal(const Conditions& c) {
  if (c.nick.empty()) return "no affiliate nick";
  if (c.q.empty()) return "no keyword";
  return nullptr;
}

// The URL is read from the answer's first child, whatever its name.
void Listurl::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  reader.Read(root.Child(0), r.answer_names.list_url_by_q, out.list_url_by_q);
}

template class ClientComponent<TaobaokeListurlCall>;

}  // namespace orvalen
