// TTaobaokeShop: "taobao.taobaoke.shops.convert", affiliate records for the
// shops in `sids`, credited to the member `nick`; entry i is child i of the
// answer and carries the shop's affiliate click URL.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaokeShopConditions {
  std::string v, nick, sids, format, method, app_key, app_secret;
};

struct TaobaokeShopName {
  std::string v, nick, sids, timestamp, url, sign, fields, format, method, app_key;
};

struct TaobaokeShopInfo {
  std::string user_id, click_url, shop_rate, shop_title;
};

struct TaobaokeShopXML {
  std::string taobaokeShop;
};

using ATaobaokeShopInfo = std::array<TaobaokeShopInfo, 11>;

struct TaobaokeShopCall {
  using Conditions = TaobaokeShopConditions;
  using Info = TaobaokeShopInfo;
  using Name = TaobaokeShopName;
  using XML = TaobaokeShopXML;
  using Results = ATaobaokeShopInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.taobaoke.shops.convert";

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.taobaokeShop; }
  static std::string FieldsValue(const Records& r);
  static std::array<RequestParam, 8> Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaokeShopCall>;

class TTaobaokeShop : public ClientComponent<TaobaokeShopCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
