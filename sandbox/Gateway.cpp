#include "sandbox/Gateway.h"

#include <random>
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

GatewayAnswer Refused(AnswerStyle style, int code, const std::string& message,
                      std::string request_id) {
  return {RefusalText(style, code, message, std::move(request_id)), std::to_string(code),
          ContentTypeOf(style)};
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
      search_(std::make_unique<SearchCache>(catalogue)),
      requests_(std::random_device{}()) {}

Gateway::~Gateway() = default;

// Thirteen letters and digits, different for every request of this gateway,
// in the shape of the platform's ids.
std::string Gateway::NextRequestId() const {
  std::uint64_t n = (requests_++ + 1) * 0x9E3779B97F4A7C15ull;  // spread the counter
  std::string id(13, '0');
  for (char& c : id) {
    c = "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36];
    n /= 36;
  }
  return id;
}

GatewayAnswer Gateway::Handle(const GatewayRequest& request, const std::string& base_url) const {
  const RequestParams read = ReadParams(request);
  if (!read.duplicate.empty()) {
    return Refused(StyleOf(read.params), 41, "Invalid arguments:" + read.duplicate,
                   NextRequestId());
  }
  return Handle(read.params, base_url);
}

GatewayAnswer Gateway::Handle(const Params& params, const std::string& base_url) const {
  const AnswerStyle style = StyleOf(params);
  const std::string request_id = NextRequestId();
  const auto refuse = [&](int code, const std::string& message) {
    return Refused(style, code, message, request_id);
  };
  if (Param(params, "app_key") != options_.app_key) return refuse(29, "Invalid app Key");
  switch (CheckSignature(params, options_.app_secret)) {
    case SignatureCheck::Valid:
      break;
    case SignatureCheck::UnknownMethod:
      return refuse(41, "Invalid arguments:sign_method");
    case SignatureCheck::Invalid:
      return refuse(25, "Invalid signature");
  }
  const auto sent_at = ParseTimestamp(Param(params, "timestamp"));
  const auto now = options_.clock();
  if (!sent_at || *sent_at < now - kClockSkew || *sent_at > now + kClockSkew) {
    return refuse(31, "Invalid timestamp");
  }
  const std::string method = Param(params, "method");
  if (method.empty()) return refuse(40, "Missing required arguments:method");
  const Call call = FindCall(method);
  if (call == nullptr) return refuse(22, "Invalid method");
  if (!FormatOffered(params, style)) return refuse(41, "Invalid arguments:format");

  const std::unique_ptr<AnswerWriter> answer = MakeAnswerWriter(style, method, request_id);
  const CallResult result = call({catalogue_, params, base_url, *search_, *answer});
  if (result.code != 0) return refuse(result.code, result.message);
  return {answer->Finish(), "ok", ContentTypeOf(style)};
}

}  // namespace orvalen::sandbox
