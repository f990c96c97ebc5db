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
  if (c.nicks.empty()) return "no nicks";
  return nullptr;
}

void Users::MoreDefaults(Records& r) {
  UserCredit& credit = r.answer_names.buyer_credit;
  FillEmpty(credit.level, "level");
  FillEmpty(credit.score, "score");
  FillEmpty(credit.good_num, "good_num");
  FillEmpty(credit.total_num, "total_num");
  // Both credits are read under the buyer credit's element names.
  r.answer_names.seller_credit = credit;
}

std::string Users::FieldsValue(const Records& r) {
  const Entry& i = r.answer_names;
  const XML& x = r.marker_names;
  return JoinFields({i.sex, i.nick, x.location + "." + i.city, x.location + "." + i.state,
                     i.user_id, i.created, i.last_visit, x.buyer_credit, x.seller_credit});
}

// Every child of the answer is a member, whatever its name.
void Users::Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader) {
  const Entry& n = r.answer_names;
  const XML& x = r.marker_names;
  std::size_t k = 0;
  for (const XmlNode user : root.Children(out.size())) {
    Entry& e = out[k++];
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
