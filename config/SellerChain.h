// SellerChain: a seller's shop as the member's affiliate link: the shop
// lookup by the seller's nick, then the affiliate conversion of its shop id
// for the built-in member. The window's seller links and orvalen-cli's MCP
// tool both go this way.
//
//   const ShopLink link = FetchShopLink(config, keys, TaobaoShop1, TaobaokeShop1, nick);
//   if (link.error.kind == FetchError::Kind::None) open(link.click_url);
#pragma once

#include <string>

#include "config/PlatformCall.h"
#include "openapi/TaobaoShop.h"
#include "openapi/TaobaokeShop.h"

namespace orvalen {

struct ShopLink {
  std::string sid;        // the shop's id, once the lookup succeeded
  std::string click_url;  // the member's link to the shop, as the platform gave it
  FetchError error;       // why there is none (Kind::None on success)
};

ShopLink FetchShopLink(const TXMLData& config, const AppKeys& keys, TTaobaoShop& shop,
                       TTaobaokeShop& convert, const std::string& nick);

}  // namespace orvalen
