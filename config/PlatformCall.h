// PlatformCall: a platform call made from the configuration, the one way:
// the call's section read into fresh records, the key and secret copied in,
// the caller's values set, then the component's Fetch. The entries found,
// or why there are none, come back as a value.
//
//   const auto shop = PlatformCall(config, keys, TaobaoShop1,
//                                  [&](TaobaoShopConditions& c) { c.nick = nick; });
//   if (shop) use(shop.results->sid);
//   else report(shop.error.message);
#pragma once

#include <string>

#include "config/XMLData.h"
#include "openapi/FetchError.h"

namespace orvalen {

// The application's key and secret, as the configuration gave them.
struct AppKeys {
  std::string key, secret;
};

template <class Component, class SetValues>
FetchResult<typename Component::Results> PlatformCall(const TXMLData& config, const AppKeys& keys,
                                                      Component& component, SetValues set_values) {
  typename Component::Records records;
  config.Read(records);
  records.cond.app_key = keys.key;
  records.cond.app_secret = keys.secret;
  set_values(records.cond);
  return component.Fetch(records);
}

}  // namespace orvalen
