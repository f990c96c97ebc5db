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

struct TaobaokeListurlCall {
  using Conditions = TaobaokeListurlConditions;
  using Info = TaobaokeListurlInfo;
  using Name = TaobaokeListurlName;
  using XML = TaobaokeListurlXML;
  using Results = TaobaokeListurlInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.taobaoke.listurl.get";

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.taobaokeItem; }
  static std::string FieldsValue(const Records&) { return {}; }
  static std::array<RequestParam, 7> Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaokeListurlCall>;

class TTaobaokeListurl : public ClientComponent<TaobaokeListurlCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
