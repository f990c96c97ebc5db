// TTaobaokeListurl: "taobao.taobaoke.listurl.get", one affiliate link to the
// marketplace's own results for keyword `q`, credited to the member `nick`.
// The call sends no `fields` parameter.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaokeListurlConditions {
  std::string q, v, nick, format, method, app_key, app_secret;
};

struct TaobaokeListurlName {
  std::string q, v, nick, timestamp, url, sign, format, method, app_key;
};

struct TaobaokeListurlInfo {
  std::string list_url_by_q;
};

struct TaobaokeListurlXML {
  std::string taobaokeItem;
};

struct TaobaokeListurlCall
    : CallTypes<TaobaokeListurlCall, TaobaokeListurlConditions, TaobaokeListurlInfo,
                TaobaokeListurlName, TaobaokeListurlXML, TaobaokeListurlInfo> {
  static constexpr std::string_view kSection = "TaobaokeListurl";
  static constexpr std::string_view kMethod = "taobao.taobaoke.listurl.get";
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      {"q", "q", &N::q, Sent::kCondition, &C::q, K::Text},
      kVName<N, C>,
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"nick", "nick", &N::nick, Sent::kCondition, &C::nick, K::Text},
      kFormatName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
  });
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"list_url_by_q", "list_url_by_q", &I::list_url_by_q},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"taobaokeItem", "taobaokeItem", &XML::taobaokeItem},
  });

  static const char* Refusal(const Conditions& c);
  static std::string FieldsValue(const Records&) { return {}; }
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaokeListurlCall>;

class TTaobaokeListurl : public ClientComponent<TaobaokeListurlCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
