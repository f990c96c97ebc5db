#include "sandbox/Gateway.h"

#include <string_view>

#include "sandbox/GatewayCalls.h"

namespace orvalen::sandbox {
namespace {

constexpr auto kClockSkew = std::chrono::minutes(10);

using Call = CallResult (*)(const CallContext&);

Call FindCall(std::string_view method) {
  static constexpr std::pair<std::string_view, Call> kCalls[] = {
      {"taobao.itemcats.get", &ItemCatsGet},
      {"taobao.taobaoke.items.get", &TaobaokeItemsGet},
      {"taobao.users.get", &UsersGet},
      {"taobao.shop.get", &ShopGet},
      {"taobao.taobaoke.shops.convert", &TaobaokeShopsConvert},
      {"taobao.taobaoke.listurl.get", &TaobaokeListurlGet}};
  for (const auto& [name, call] : kCalls) {
    if (name == method) return call;
  }
  return nullptr;
}

GatewayAnswer Refused(int code, const std::string& message) {
  return {ErrorAnswer(code, message), std::to_string(code)};
}

}  // namespace

Gateway::Gateway(const Catalogue& catalogue, GatewayOptions options)
    : catalogue_(catalogue),
      options_(std::move(options)),
      search_(std::make_unique<SearchCache>(catalogue)) {}

Gateway::~Gateway() = default;

GatewayAnswer Gateway::Handle(const Params& params) const {
  if (Param(params, "app_key") != options_.app_key) return Refused(29, "Invalid app Key");
  const auto sent_at = ParseChinaTime(Param(params, "timestamp"));
  const auto now = options_.clock();
  if (!sent_at || *sent_at < now - kClockSkew || *sent_at > now + kClockSkew) {
    return Refused(31, "Invalid timestamp");
  }
  switch (CheckSignature(params, options_.app_secret)) {
    case SignatureCheck::Valid:
      break;
    case SignatureCheck::UnknownMethod:
      return Refused(41, "Invalid arguments:sign_method");
    case SignatureCheck::Invalid:
      return Refused(25, "Invalid signature");
  }
  const std::string method = Param(params, "method");
  if (method.empty()) return Refused(40, "Missing required arguments:method");
  const Call call = FindCall(method);
  if (call == nullptr) return Refused(22, "Invalid method");
  const std::string format = Param(params, "format");
  if (!format.empty() && format != "xml") return Refused(41, "Invalid arguments:format");

  const CallResult result = call({catalogue_, params, options_.base_url, *search_});
  if (result.code != 0) return Refused(result.code, result.message);
  return {result.body, "ok"};
}

}  // namespace orvalen::sandbox
