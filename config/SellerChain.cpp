#include "config/SellerChain.h"

#include "config/SiteConfig.h"

namespace orvalen {

ShopLink FetchShopLink(const TXMLData& config, const AppKeys& keys, TTaobaoShop& shop,
                       TTaobaokeShop& convert, const std::string& nick) {
  const auto found =
      PlatformCall(config, keys, shop, [&](TaobaoShopConditions& c) { c.nick = nick; });
  if (!found) return {{}, {}, found.error};
  const std::string sid = found.results->sid;
  const auto converted = PlatformCall(config, keys, convert, [&](TaobaokeShopConditions& c) {
    c.nick = std::string(kAffiliateNick);
    c.sids = sid;
  });
  if (!converted) return {sid, {}, converted.error};
  return {sid, (*converted.results)[0].click_url, {}};
}

}  // namespace orvalen
