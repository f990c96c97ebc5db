// Fuzzes the configuration reader: the bytes are the configuration
// document; LoadKeys, then all six loaders.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "config/XMLData.h"
#include "support/CannedTransport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvalen;
  TXMLData config(std::make_unique<test::CannedTransport>(
      std::string(reinterpret_cast<const char*>(data), size)));
  std::string key, secret;
  config.LoadKeys("http://config/", key, secret);
  TTaobaokeItem::Records item;
  config.ReadTaobaokeItem(item.cond, item.names, item.name, item.xml);
  TTaobaoUsers::Records users;
  config.ReadTaobaoUsers(users.cond, users.names, users.name, users.xml);
  TTaobaoShop::Records shop;
  config.ReadTaobaoShop(shop.cond, shop.names, shop.name, shop.xml);
  TTaobaokeShop::Records convert;
  config.ReadTaobaokeShop(convert.cond, convert.names, convert.name, convert.xml);
  TTaobaokeListurl::Records list;
  config.ReadTaobaokeListurl(list.cond, list.names, list.name, list.xml);
  TTaobaoCats::Records cats;
  config.ReadTaobaoCats(cats.cond, cats.names, cats.name, cats.xml);
  return 0;
}
