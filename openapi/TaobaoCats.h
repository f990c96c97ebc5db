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

struct TaobaoCatsCall {
  using Conditions = TaobaoCatsConditions;
  using Info = TaobaoCatsInfo;
  using Name = TaobaoCatsName;
  using XML = TaobaoCatsXML;
  using Results = ATaobaoCatsInfo;
  using Records = CallRecords<Conditions, Info, Name, XML>;

  static constexpr std::string_view kMethod = "taobao.itemcats.get";
  static constexpr std::size_t kMaxEntries = 60;

  static const char* Refusal(const Conditions& c);
  static void ApplyDefaults(Records& r);
  static std::string_view Marker(const XML& x) { return x.item_cat; }
  static std::string FieldsValue(const Records& r);
  static std::array<RequestParam, 8> Params(const Records& r, std::string_view fields,
                                            std::string_view timestamp);
  static void Parse(XmlNode root, const Records& r, Results& out, XmlFieldReader& reader);
};

extern template class ClientComponent<TaobaoCatsCall>;

class TTaobaoCats : public ClientComponent<TaobaoCatsCall> {
 public:
  using ClientComponent::ClientComponent;
};

}  // namespace orvalen
