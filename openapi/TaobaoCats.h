// TTaobaoCats: "taobao.itemcats.get", the categories directly under
// parent_cid (the top level, "0", when neither parent_cid nor cids is given)
// or those named in cids. At most 60 entries are filled, so entry 60 is
// always empty and a reader that stops at the first empty name stops.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

struct TaobaoCatsConditions {
  std::string v, cids, format, method, app_key, app_secret, parent_cid;
};

struct TaobaoCatsName {
  std::string v, cids, timestamp, url, sign, fields, format, method, app_key, parent_cid;
};

struct TaobaoCatsInfo {
  std::string cid, name, status, is_parent, parent_cid, sort_order;
};

struct TaobaoCatsXML {
  std::string item_cat;
};

using ATaobaoCatsInfo = std::array<TaobaoCatsInfo, 61>;

struct TaobaoCatsCall : CallTypes<TaobaoCatsCall, TaobaoCatsConditions, TaobaoCatsInfo,
                                  TaobaoCatsName, TaobaoCatsXML, ATaobaoCatsInfo> {
  static constexpr std::string_view kSection = "TaobaoCats";
  static constexpr std::string_view kMethod = "taobao.itemcats.get";
  static constexpr std::size_t kMaxEntries = 60;
  static constexpr std::array kNames = std::to_array<RequestName<N, C>>({
      kVName<N, C>,
      kTimeName<N, C>,
      kUrlName<N, C>,
      kSignName<N, C>,
      {"cids", "cids", &N::cids, Sent::kCondition, &C::cids},
      kFormatName<N, C>,
      kFieldsName<N, C>,
      kMethodName<N, C>,
      kAppKeyName<N, C>,
      {"parent_cid", "parent_cid", &N::parent_cid, Sent::kCondition, &C::parent_cid},
  });
  static constexpr std::array kAnswerNames = std::to_array<ElementName<I>>({
      {"cid", "cid", &I::cid},
      {"name", "name", &I::name},
      {"status", "status", &I::status},
      {"is_parent", "is_parent", &I::is_parent},
      {"parent_cid", "parent_cid", &I::parent_cid},
      {"sort_order", "sort_order", &I::sort_order},
  });
  static constexpr std::array kMarkers = std::to_array<ElementName<XML>>({
      {"item_cat", "item_cat", &XML::item_cat},
  });

  static const char* Refusal(const Conditions& c);
  static void MoreDefaults(Records& r);
  static std::string FieldsValue(const Records& r);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoCatsCall>;

class TTaobaoCats : public ClientComponent<TaobaoCatsCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
