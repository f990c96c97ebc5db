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

struct TaobaokeShopCall : CallTypes<TaobaokeShopCall, TaobaokeShopConditions, TaobaokeShopInfo,
                                    TaobaokeShopName, TaobaokeShopXML, ATaobaokeShopInfo> {
  static constexpr std::string_view kSection = "TaobaokeShop";
  static constexpr std::string_view kMethod = "taobao.taobaoke.shops.convert";
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      kVName<N, C>,
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"nick", "nick", &N::nick, Sent::kCondition, &C::nick, K::Text},
      {"sids", "sids", &N::sids, Sent::kCondition, &C::sids},
      kFieldsName<N, C>,
      kFormatName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
  });
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"user_id", "user_id", &I::user_id},
      {"click_url", "click_url", &I::click_url},
      {"shop_rate", "shop_commission.rate", &I::shop_rate},
      {"shop_title", "shop_title", &I::shop_title},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"taobaokeShop", "taobaokeShop", &XML::taobaokeShop},
  });

  static const char* Refusal(const Conditions& c);
  static std::string FieldsValue(const Records& r);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaokeShopCall>;

class TTaobaokeShop : public ClientComponent<TaobaokeShopCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
