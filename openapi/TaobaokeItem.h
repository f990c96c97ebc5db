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

using ATaobaokeItemInfo = std::array<TaobaokeItemInfo, kPageEntrySlots>;

struct TaobaokeItemCall : CallTypes<TaobaokeItemCall, TaobaokeItemConditions, TaobaokeItemInfo,
                                    TaobaokeItemName, TaobaokeItemXML, ATaobaokeItemInfo> {
  static constexpr std::string_view kSection = "TaobaokeItem";
  static constexpr std::string_view kMethod = "taobao.taobaoke.items.get";
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      kVName<N, C>,
      {"cid", "cid", &N::cid, Sent::kCondition, &C::cid},
      {"auto", "auto_send", &N::auto_send, Sent::kCondition, &C::auto_send},
      {"area", "area", &N::area, Sent::kCondition, &C::area, K::Text},
      {"sort", "sort", &N::sort, Sent::kCondition, &C::sort},
      {"nick", "nick", &N::nick, Sent::kCondition, &C::nick, K::Text},
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"s_num", "start_commissionNum", &N::start_commissionNum, Sent::kCondition,
       &C::start_commissionNum},
      {"e_num", "end_commissionNum", &N::end_commissionNum, Sent::kCondition,
       &C::end_commissionNum},
      {"s_rate", "start_commissionRate", &N::start_commissionRate, Sent::kCondition,
       &C::start_commissionRate},
      {"e_rate", "end_commissionRate", &N::end_commissionRate, Sent::kCondition,
       &C::end_commissionRate},
      kFieldsName<N, C>,
      kFormatName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
      {"keyword", "keyword", &N::keyword, Sent::kCondition, &C::keyword, K::Text},
      {"s_price", "start_price", &N::start_price, Sent::kCondition, &C::start_price},
      {"e_price", "end_price", &N::end_price, Sent::kCondition, &C::end_price},
      {"page_no", "page_no", &N::page_no, Sent::kCondition, &C::page_no},
      {"s_credit", "start_credit", &N::start_credit, Sent::kCondition, &C::start_credit},
      {"e_credit", "end_credit", &N::end_credit, Sent::kCondition, &C::end_credit},
      {"page_size", "page_size", &N::page_size, Sent::kCondition, &C::page_size},
      {"guarantee", "is_guarantee", &N::is_guarantee, Sent::kCondition, &C::is_guarantee},
  });
  // totalResults is a result slot, not a name: it has no leaf.
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"iid", "iid", &I::iid},
      {"nick", "nick", &I::nick},
      {"title", "title", &I::title},
      {"price", "price", &I::price},
      {"pic_url", "pic_url", &I::pic_url},
      {"click_url", "click_url", &I::click_url},
      {"commission", "commission", &I::commission},
      {"commission_num", "commission_num", &I::commission_num},
      {"commission_rate", "commission_rate", &I::commission_rate},
      {"commission_volume", "commission_volume", &I::commission_volume},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"totalResults", "totalResults", &XML::totalResults},
  });

  static const char* Refusal(const Conditions& c);
  static std::string FieldsValue(const Records& r);
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
