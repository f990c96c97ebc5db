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

struct TaobaoShopCall {
  using Conditions = TaobaoShopConditions;
  using Info = TaobaoShopInfo;
  using Name = TaobaoShopName;
  using XML = TaobaoShopXML;
  using Results = TaobaoShopInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.shop.get";

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.shop; }
  static std::string FieldsValue(const Records& r);
  static std::array<RequestParam, 7> Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoShopCall>;

class TTaobaoShop : public ClientComponent<TaobaoShopCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
