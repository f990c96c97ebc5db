#include "openapi/TaobaoCats.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Cats = TaobaoCatsCall;

// The key and secret are all the call needs.
const char* Cats::Refusal(const Conditions&) {
  return nullptr;
}

void Cats::MoreDefaults(Records& r) {
  // Without ids the call lists a parent's children: the root's by default.
  if (r.cond.cids.empty()) FillEmpty(r.cond.parent_cid, "0");
}

std::string Cats::FieldsValue(const Records& r) {
  const Info& i = r.answer_names;
  return JoinFields({i.cid, i.name, i.status, i.is_parent, i.parent_cid, i.sort_order});
}

// Every child of the answer is a category, whatever its name.
void Cats::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.answer_names;
  std::size_t k = 0;
  for (const XmlNode cat : root.Children(kMaxEntries)) {
    Info& e = out[k++];
    reader.Read(cat, n.cid, e.cid);
    reader.Read(cat, n.name, e.name);
    reader.Read(cat, n.status, e.status);
    reader.Read(cat, n.is_parent, e.is_parent);
    reader.Read(cat, n.parent_cid, e.parent_cid);
    reader.Read(cat, n.sort_order, e.sort_order);
  }
}

template class ClientComponent<TaobaoCatsCall>;

}  // namespace orvalen
