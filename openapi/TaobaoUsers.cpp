#include "openapi/TaobaoUsers.h"

#include "openapi/ClientComponentImpl.h"

namespace orvalen {

using Users = TaobaoUsersCall;

namespace {

void ReadCredit(XmlFieldReader& reader, std::optional<XmlNode> credit, const UserCredit& names,
                UserCredit& out) {
  reader.Read(credit, names.level, out.level);
  reader.Read(credit, names.score, out.score);
  reader.Read(credit, names.good_num, out.good_num);
  reader.Read(credit, names.total_num, out.total_num);
}

}  // namespace

const char* Users::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  if (c.nicks.empty()) return "no nicks";
  return nullptr;
}

void Users::ApplyDefaults(Records& r) {
  FillEmpty(r.name.nicks, "nicks");
  using I = Info;
  FillEmpty<I>(r.names, {{&I::sex, "sex"},
                         {&I::nick, "nick"},
                         {&I::city, "city"},
                         {&I::state, "state"},
                         {&I::user_id, "user_id"},
                         {&I::created, "created"},
                         {&I::last_visit, "last_visit"}});
  using C = UserCredit;
  FillEmpty<C>(r.names.buyer_credit, {{&C::level, "level"},
                                      {&C::score, "score"},
                                      {&C::good_num, "good_num"},
                                      {&C::total_num, "total_num"}});
  // Both credits are read under the buyer credit's element names.
  r.names.seller_credit = r.names.buyer_credit;
  using X = XML;
  FillEmpty<X>(r.xml, {{&X::user, "user"},
                       {&X::location, "location"},
                       {&X::buyer_credit, "buyer_credit"},
                       {&X::seller_credit, "seller_credit"}});
}

std::string Users::FieldsValue(const Records& r) {
  const Info& i = r.names;
  const XML& x = r.xml;
  return JoinFields({i.sex, i.nick, x.location + "." + i.city, x.location + "." + i.state,
                     i.user_id, i.created, i.last_visit, x.buyer_credit, x.seller_credit});
}

std::array<RequestParam, 7> Users::Params(const Records& r, std::string_view fields,
                                          std::string_view timestamp) {
  const Name& n = r.name;
  const Conditions& c = r.cond;
  using K = ParamKind;
  return {{{n.app_key, c.app_key, K::Plain},
           {n.fields, fields, K::Plain},
           {n.format, c.format, K::Plain},
           {n.method, c.method, K::Plain},
           {n.nicks, c.nicks, K::Text},
           {n.timestamp, timestamp, K::Time},
           {n.v, c.v, K::Plain}}};
}

// Every child of the answer is a member, whatever its name.
void Users::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Info& n = r.names;
  const XML& x = r.xml;
  std::size_t k = 0;
  for (const XmlNode user : root.Children(out.size())) {
    Info& e = out[k++];
    reader.Read(user, n.sex, e.sex);
    reader.Read(user, n.nick, e.nick);
    const std::optional<XmlNode> location = user.Find(x.location);
    reader.Read(location, n.city, e.city);
    reader.Read(location, n.state, e.state);
    reader.Read(user, n.user_id, e.user_id);
    reader.Read(user, n.created, e.created);
    reader.Read(user, n.last_visit, e.last_visit);
    ReadCredit(reader, user.Find(x.buyer_credit), n.buyer_credit, e.buyer_credit);
    ReadCredit(reader, user.Find(x.seller_credit), n.seller_credit, e.seller_credit);
  }
}

template class ClientComponent<TaobaoUsersCall>;

}  // namespace orvalen
