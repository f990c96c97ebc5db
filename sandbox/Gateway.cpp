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

GatewayAnswer Refused(AnswerStyle style, int code, const std::string& message) {
  return {RefusalText(style, code, message), std::to_string(code), ContentTypeOf(style)};
}

// A format the requested version offers: XML always, JSON from v2.0 on.
bool FormatOffered(const Params& params, AnswerStyle style) {
  const std::string format = Param(params, "format");
  return format.empty() || format == "xml" || (format == "json" && style == AnswerStyle::V2Json);
}

}  // namespace

Gateway::Gateway(const Catalogue& catalogue, GatewayOptions options)
    : catalogue_(catalogue),
      options_(std::move(options)),
      search_(std::make_unique<SearchCache>(catalogue)) {}

Gateway::~Gateway() = default;

GatewayAnswer Gateway::Handle(const GatewayRequest& request) const {
  const RequestParams read = ReadParams(request);
  if (!read.duplicate.empty()) {
    return Refused(StyleOf(read.params), 41, "Invalid arguments:" + read.duplicate);
  }
  return Handle(read.params);
}

GatewayAnswer Gateway::Handle(const Params& params) const {
  const AnswerStyle style = StyleOf(params);
  if (Param(params, "app_key") != options_.app_key) return Refused(style, 29, "Invalid app Key");
  const auto sent_at = ParseChinaTime(Param(params, "timestamp"));
  const auto now = options_.clock();
  if (!sent_at || *sent_at < now - kClockSkew || *sent_at > now + kClockSkew) {
    return Refused(style, 31, "Invalid timestamp");
  }
  switch (CheckSignature(params, options_.app_secret)) {
    case SignatureCheck::Valid:
      break;
    case SignatureCheck::UnknownMethod:
      return Refused(style, 41, "Invalid arguments:sign_method");
    case SignatureCheck::Invalid:
      return Refused(style, 25, "Invalid signature");
  }
  const std::string method = Param(params, "method");
  if (method.empty()) return Refused(style, 40, "Missing required arguments:method");
  const Call call = FindCall(method);
  if (call == nullptr) return Refused(style, 22, "Invalid method");
  if (!FormatOffered(params, style)) return Refused(style, 41, "Invalid arguments:format");

  const std::unique_ptr<AnswerWriter> answer = MakeAnswerWriter(style, method);
  const CallResult result = call({catalogue_, params, options_.base_url, *search_, *answer});
  if (result.code != 0) return Refused(style, result.code, result.message);
  return {answer->Finish(), "ok", ContentTypeOf(style)};
}

}  // namespace orvalen::sandbox
