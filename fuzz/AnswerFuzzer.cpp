// Fuzzes answer parsing: the same bytes are the answer to each of the six
// calls, through the XML adapter and each component's result mapping.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "openapi/TaobaoCats.h"
#include "openapi/TaobaoShop.h"
#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"
#include "openapi/TaobaokeListurl.h"
#include "openapi/TaobaokeShop.h"
#include "support/CannedTransport.h"

namespace {

using orvalen::test::CannedTransport;

template <class Component>
void Feed(const std::string& body, typename Component::Conditions cond) {
  Component component(std::make_unique<CannedTransport>(body));
  const typename Component::Results* results = nullptr;
  cond.app_key = "k";
  if (component.Fetch(cond, {}, {}, {}, results) && results == nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  using namespace orvalen;
  TaobaokeItemConditions item;
  item.cid = "0";
  item.nick = "n";
  Feed<TTaobaokeItem>(body, item);
  Feed<TTaobaoCats>(body, {});
  TaobaoUsersConditions users;
  users.nicks = "a,";
  Feed<TTaobaoUsers>(body, users);
  TaobaoShopConditions shop;
  shop.nick = "a";
  Feed<TTaobaoShop>(body, shop);
  TaobaokeShopConditions convert;
  convert.nick = "n";
  convert.sids = "1";
  Feed<TTaobaokeShop>(body, convert);
  TaobaokeListurlConditions list;
  list.nick = "n";
  list.q = "q";
  Feed<TTaobaokeListurl>(body, list);
  return 0;
}
