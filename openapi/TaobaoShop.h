// TTaobaoShop: "taobao.shop.get", the shop of the seller named by `nick`,
// above all its shop id `sid`. `desc` and `bulletin` have no built-in element
// name: they are asked for and read only when configuration names them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaoShopConditions {
  std::string v, nick, format, method, app_key, app_secret;
};

struct TaobaoShopName {
  std::string v, nick, timestamp, url, sign, fields, format, method, app_key;
};

struct TaobaoShopInfo {
  std::string sid, cid, nick, desc, title, created, bulletin, pic_path, modified;
};

struct TaobaoShopXML {
  std::string shop;
};

struct TaobaoShopCall : CallTypes<TaobaoShopCall, TaobaoShopConditions, TaobaoShopInfo,
                                  TaobaoShopName, TaobaoShopXML, TaobaoShopInfo> {
  static constexpr std::string_view kSection = "TaobaoShop";
  static constexpr std::string_view kMethod = "taobao.shop.get";
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      kVName<N, C>,
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"nick", "nick", &N::nick, Sent::kCondition, &C::nick, K::Text},
      kFieldsName<N, C>,
      kFormatName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
  });
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"sid", "sid", &I::sid},
      {"cid", "cid", &I::cid},
      {"nick", "nick", &I::nick},
      {"desc", "", &I::desc},
      {"title", "title", &I::title},
      {"created", "created", &I::created},
      {"bulletin", "", &I::bulletin},
      {"pic_path", "pic_path", &I::pic_path},
      {"modified", "modified", &I::modified},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"shop", "shop", &XML::shop},
  });

  static const char* Refusal(const Conditions& c);
  static std::string FieldsValue(const Records& r);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoShopCall>;

class TTaobaoShop : public ClientComponent<TaobaoShopCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
