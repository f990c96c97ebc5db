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

using ATaobaoUsersInfo = std::array<TaobaoUsersInfo, kPageEntrySlots>;

struct TaobaoUsersCall : CallTypes<TaobaoUsersCall, TaobaoUsersConditions, TaobaoUsersInfo,
                                   TaobaoUsersName, TaobaoUsersXML, ATaobaoUsersInfo> {
  static constexpr std::string_view kSection = "TaobaoUsers";
  static constexpr std::string_view kMethod = "taobao.users.get";
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      kVName<N, C>,
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"nicks", "nicks", &N::nicks, Sent::kCondition, &C::nicks, K::Text},
      kFieldsName<N, C>,
      kFormatName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
  });
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"sex", "sex", &I::sex},
      {"nick", "nick", &I::nick},
      {"city", "city", &I::city},
      {"state", "state", &I::state},
      {"user_id", "user_id", &I::user_id},
      {"created", "created", &I::created},
      {"last_visit", "last_visit", &I::last_visit},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"user", "user", &XML::user},
      {"location", "location", &XML::location},
      {"buyer_credit", "buyer_credit", &XML::buyer_credit},
      {"seller_credit", "seller_credit", &XML::seller_credit},
  });

  static const char* Refusal(const Conditions& c);
  static void MoreDefaults(Records& r);
  static std::string FieldsValue(const Records& r);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoUsersCall>;

class TTaobaoUsers : public ClientComponent<TaobaoUsersCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
