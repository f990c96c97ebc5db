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
  // (Not assigned from a string_view: GCC 12 at -O3 warns -Wrestrict there,
  // a false positive, GCC bug 105329.)
  if (r.cond.cids.empty() && r.cond.parent_cid.empty()) r.cond.parent_cid.push_back('0');
}

std::string Cats::FieldsValue(const Records& r) {
  const Entry& i = r.answer_names;
  return JoinFields({i.cid, i.name, i.status, i.is_parent, i.parent_cid, i.sort_order});
}

// Every child of the answer is a category, whatever its name.
void Cats::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  std::size_t k = 0;
  for (const XmlNode cat : root.Children(kMaxEntries))
    ReadEntry<Cats>(reader, cat, r.answer_names, out[k++]);
}

template class ClientComponent<TaobaoCatsCall>;

}  // namespace orvalen
