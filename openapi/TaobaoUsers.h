// TTaobaoUsers: "taobao.users.get", the public profile and the buyer and
// seller credit of each member named in `nicks` (comma-separated). Entry i is
// child i of the answer; entries after the last child are empty.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaoUsersConditions {
  std::string v, nicks, format, method, app_key, app_secret;
};

struct TaobaoUsersName {
  std::string v, timestamp, url, sign, nicks, fields, format, method, app_key;
};

struct UserCredit {
  std::string level, score, good_num, total_num;
};

struct TaobaoUsersInfo {
  std::string sex, nick, city, state, user_id, created, last_visit;
  UserCredit buyer_credit, seller_credit;
};

struct TaobaoUsersXML {
  std::string user, location, buyer_credit, seller_credit;
};

using ATaobaoUsersInfo = std::array<TaobaoUsersInfo, 41>;

struct TaobaoUsersCall {
  using Conditions = TaobaoUsersConditions;
  using Info = TaobaoUsersInfo;
  using Name = TaobaoUsersName;
  using XML = TaobaoUsersXML;
  using Results = ATaobaoUsersInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.users.get";

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.user; }
  static std::string FieldsValue(const Records& r);
  static std::array<RequestParam, 7> Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoUsersCall>;

class TTaobaoUsers : public ClientComponent<TaobaoUsersCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
