#include "openapi/TaobaoCats.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Cats = TaobaoCatsCall;

const char* Cats::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  return nullptr;
}

void Cats::ApplyDefaults(Records& r) {
  FillEmpty<Name>(r.name, {{&Name::cids, "cids"}, {&Name::parent_cid, "parent_cid"}});
  using I = Info;
  FillEmpty<I>(r.names, {{&I::cid, "cid"},
                         {&I::name, "name"},
                         {&I::status, "status"},
                         {&I::is_parent, "is_parent"},
                         {&I::parent_cid, "parent_cid"},
                         {&I::sort_order, "sort_order"}});
  FillEmpty(r.xml.item_cat, "item_cat");
  // Without ids the call lists a parent's children: the root's by default.
  if (r.cond.cids.empty()) FillEmpty(r.cond.parent_cid, "0");
}

std::string Cats::FieldsValue(const Records& r) {
  const Info& i = r.names;
  return JoinFields({i.cid, i.name, i.status, i.is_parent, i.parent_cid, i.sort_order});
}

std::array<RequestParam, 8> Cats::Params(const Records& r, std::string_view fields,
                                         std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.cids, c.cids, K::Plain},
           {n.fields, fields, K::Plain},
           {n.format, c.format, K::Plain},
           {n.method, c.method, K::Plain},
           {n.parent_cid, c.parent_cid, K::Plain},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

// Every child of the answer is a category, whatever its name.
void Cats::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.names;
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
