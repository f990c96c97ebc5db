// Pieces shared by the client calls' descriptions: the record bundle a
// component keeps, and defaults tables.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvalen {

// The open platform's production gateway; configuration normally overrides it.
inline constexpr std::string_view kDefaultGatewayUrl = "http://gw.api.taobao.com/router/rest";

template <class Conditions, class Info, class Name, class XML>
struct CallRecords {
  Conditions cond;
  Info names;  // answer element names, in the shape of one result entry
  Name name;
  XML xml;
};

template <class R>
struct FieldDefault {
  std::string R::*field;
  std::string_view value;
};

inline void FillEmpty(std::string& field, std::string_view value) {
  if (field.empty()) field = value;
}

template <class R>
void FillEmpty(R& record, std::initializer_list<FieldDefault<R>> defaults) {
  for (const FieldDefault<R>& d : defaults) FillEmpty(record.*d.field, d.value);
}

}  // namespace orvalen
