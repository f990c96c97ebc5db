// How a platform call is described, once, as data: the shared skeleton
// (ClientComponent) derives the defaults and the ordered parameter list from
// it, and the configuration reader (TXMLData) the leaves it reads.
//
//   struct SomeCall {
//     static constexpr std::string_view kSection = "TaobaoShop";   // configuration section
//     static constexpr std::array kNames = std::to_array<RequestName<Name, Conditions>>({
//         kAppKeyName<Name, Conditions>, {"nick", "nick", &Name::nick, Sent::kCondition,
//                                         &Conditions::nick, ParamKind::Text}, ...});
//     static constexpr std::array kAnswerNames = std::to_array<ElementName<Entry>>({...});
//     static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({...});  // first: the
//     marker
//   };
//
// Each table lists its members in the order of the configuration section;
// the request parameters go out sorted by their default names.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "openapi/RequestUrl.h"

namespace orvalen {

// The open platform's production gateway; configuration normally overrides it.
inline constexpr std::string_view kDefaultGatewayUrl = "http://gw.api.taobao.com/router/rest";

// Result storage of the calls that answer with a page of entries: a page of
// 40 and one more.
inline constexpr std::size_t kPageEntrySlots = 41;

// What a component keeps of one call: the request values, the element names
// of one answer entry, the request parameter names, the marker element names.
// `Call` names the call's description, so that a reader of the records
// finds the call's tables.
template <class Call, class Conditions, class AnswerNames, class RequestNames, class MarkerNames>
struct CallRecords {
  using Description = Call;
  Conditions cond;
  AnswerNames answer_names;
  RequestNames request_names;
  MarkerNames marker_names;
};

// The types of a call's description (`Call`, the description itself), with
// the short names its tables use.
template <class Call, class ConditionsT, class EntryT, class NameT, class XMLT, class ResultsT>
struct CallTypes {
  using Conditions = ConditionsT;
  using Entry = EntryT;
  using Name = NameT;
  using XML = XMLT;
  using Results = ResultsT;
  using Records = CallRecords<Call, Conditions, Entry, Name, XML>;
  using N = Name;
  using C = Conditions;
  using I = Entry;
  using K = ParamKind;
};

// Whether a request name is sent, and where its value comes from.
enum class Sent {
  kNo,         // not a parameter (the gateway address, the signature's name)
  kCondition,  // the conditions record's member
  kFields,     // the comma-joined answer field names
  kTimestamp,  // the China-time timestamp of the call
};

// One member of a call's request-names record: its leaf under the
// configuration section's <name>, its value when the configuration gives
// none, and for a parameter where its value comes from and how it is sent.
template <class Name, class Conditions>
struct RequestName {
  std::string_view leaf;
  std::string_view fallback;
  std::string Name::*member;
  Sent sent = Sent::kNo;
  std::string Conditions::*value = nullptr;
  ParamKind kind = ParamKind::Plain;
};

// One member of an element-names record (answer fields under <back>,
// markers under <xmlname>): its leaf and its value when none is configured
// (empty: none).
template <class R>
struct ElementName {
  std::string_view leaf;
  std::string_view fallback;
  std::string R::*member;
};

// The names every call shares.
template <class N, class C>
inline constexpr RequestName<N, C> kVName{"v", "v", &N::v, Sent::kCondition, &C::v};
template <class N, class C>
inline constexpr RequestName<N, C> kTimeName{"time",           "timestamp", &N::timestamp,
                                             Sent::kTimestamp, nullptr,     ParamKind::Time};
template <class N, class C>
inline constexpr RequestName<N, C> kUrlName{"http", kDefaultGatewayUrl, &N::url};
template <class N, class C>
inline constexpr RequestName<N, C> kSignName{"sign", "sign", &N::sign};
template <class N, class C>
inline constexpr RequestName<N, C> kFieldsName{"fields", "fields", &N::fields, Sent::kFields};
template <class N, class C>
inline constexpr RequestName<N, C> kFormatName{"format", "format", &N::format, Sent::kCondition,
                                               &C::format};
template <class N, class C>
inline constexpr RequestName<N, C> kMethodName{"method", "method", &N::method, Sent::kCondition,
                                               &C::method};
template <class N, class C>
inline constexpr RequestName<N, C> kAppKeyName{"app_key", "app_key", &N::app_key, Sent::kCondition,
                                               &C::app_key};

// Positions in `kTable` of the names that are sent, sorted by default name.
template <const auto& kTable>
consteval auto SentOrder() {
  constexpr std::size_t kCount = static_cast<std::size_t>(std::count_if(
      kTable.begin(), kTable.end(), [](const auto& s) { return s.sent != Sent::kNo; }));
  std::array<std::size_t, kCount> order{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    if (kTable[i].sent != Sent::kNo) order[n++] = i;
  }
  std::sort(order.begin(), order.end(),
            [](std::size_t a, std::size_t b) { return kTable[a].fallback < kTable[b].fallback; });
  return order;
}

inline void FillEmpty(std::string& field, std::string_view value) {
  if (field.empty()) field = value;
}

template <class R, std::size_t N>
void FillEmpty(R& record, const std::array<ElementName<R>, N>& table) {
  for (const ElementName<R>& s : table) FillEmpty(record.*s.member, s.fallback);
}

}  // namespace orvalen
