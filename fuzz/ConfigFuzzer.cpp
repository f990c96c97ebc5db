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
  config.ReadTaobaokeItem(item.cond, item.answer_names, item.request_names, item.marker_names);
  TTaobaoUsers::Records users;
  config.ReadTaobaoUsers(users.cond, users.answer_names, users.request_names, users.marker_names);
  TTaobaoShop::Records shop;
  config.ReadTaobaoShop(shop.cond, shop.answer_names, shop.request_names, shop.marker_names);
  TTaobaokeShop::Records convert;
  config.ReadTaobaokeShop(convert.cond, convert.answer_names, convert.request_names,
                          convert.marker_names);
  TTaobaokeListurl::Records list;
  config.ReadTaobaokeListurl(list.cond, list.answer_names, list.request_names, list.marker_names);
  TTaobaoCats::Records cats;
  config.ReadTaobaoCats(cats.cond, cats.answer_names, cats.request_names, cats.marker_names);
  return 0;
}
