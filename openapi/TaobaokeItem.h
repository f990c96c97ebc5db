// TTaobaokeItem: "taobao.taobaoke.items.get", one page of affiliate items
// searched by keyword or category and narrowed by area, price, credit and
// commission. Entry k of the results is item k of the page; readers stop at
// the first entry with an empty title. Every entry carries the total count.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaokeItemConditions {
  std::string v, cid, auto_send, area, sort, nick;
  std::string start_commissionNum, end_commissionNum, start_commissionRate, end_commissionRate;
  std::string format, method, app_key, app_secret, keyword, start_price, end_price, page_no;
  std::string start_credit, end_credit, page_size, is_guarantee;
};

struct TaobaokeItemName {
  std::string v, cid, auto_send, area, sort, nick, timestamp, url, sign;
  std::string start_commissionNum, end_commissionNum, start_commissionRate, end_commissionRate;
  std::string fields, format, method, app_key, keyword, start_price, end_price, page_no;
  std::string start_credit, end_credit, page_size, is_guarantee;
};

struct TaobaokeItemInfo {
  std::string iid, nick, title, price, totalResults, pic_url, click_url;
  std::string commission, commission_num, commission_rate, commission_volume;
};

struct TaobaokeItemXML {
  std::string totalResults;
};

using ATaobaokeItemInfo = std::array<TaobaokeItemInfo, 41>;

struct TaobaokeItemCall {
  using Conditions = TaobaokeItemConditions;
  using Info = TaobaokeItemInfo;
  using Name = TaobaokeItemName;
  using XML = TaobaokeItemXML;
  using Results = ATaobaokeItemInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.taobaoke.items.get";

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.totalResults; }
  static std::string FieldsValue(const Records& r);
  static std::array<RequestParam, 23> Params(const Records& r, std::string_view fields,
                                             std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

// Removes every complete <...> tag; text between tags stays.
std::string StripTags(std::string_view text);

extern template class ClientComponent<TaobaokeItemCall>;

class TTaobaokeItem : public ClientComponent<TaobaokeItemCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
