// Member definitions of ClientComponent; included only by the component
// sources, each of which instantiates the template for its own call.
#pragma once

#include <utility>

#include "openapi/CallSupport.h"
#include "openapi/ClientComponent.h"
#include "openapi/RequestUrl.h"
#include "platform/CurlHttpClient.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {

// Reads the answer fields of `Call` that have a name from `node` (an
// XmlNode or an optional one) into `entry`, in the description's order.
template <class Call, class Node>
void ReadEntry(XmlFieldReader& reader, const Node& node, const typename Call::Entry& names,
               typename Call::Entry& entry) {
  for (const auto& field : Call::kAnswerNames) {
    const std::string& name = names.*field.member;
    if (!name.empty()) reader.Read(node, name, entry.*field.member);
  }
}

template <class Call>
ClientComponent<Call>::ClientComponent(std::unique_ptr<HttpTransport> http, Clock clock)
    : http_(http ? std::move(http) : std::make_unique<CurlHttpClient>()),
      clock_(clock ? std::move(clock) : Clock(&std::chrono::system_clock::now)) {}

template <class Call>
ClientComponent<Call>::~ClientComponent() = default;

template <class Call>
FetchResult<typename Call::Results> ClientComponent<Call>::Fetch(const Records& records) {
  records_ = records;
  error_ = {};
  const bool found = CheckAndSend();
  return {found ? &results_ : nullptr, error_};
}

template <class Call>
bool ClientComponent<Call>::CheckAndSend() {
  if (const char* refusal = Refusal(records_.cond)) {
    return Fail(FetchError::Kind::Precondition, refusal);
  }
  ApplyDefaults();
  if (const std::string& url = records_.request_names.url; HasBlankOrControl(url)) {
    return Fail(FetchError::Kind::Precondition,
                "gateway address \"" + url + "\" holds a blank or a control byte");
  }
  return SendRequest();
}

template <class Call>
bool ClientComponent<Call>::Fetch(const Conditions& conditions, const Entry& answer_names,
                                  const Name& request_names, const XML& marker_names,
                                  const Results*& results) {
  const FetchResult<Results> found = Fetch({conditions, answer_names, request_names, marker_names});
  if (found) results = found.results;
  return bool(found);
}

template <class Call>
const char* ClientComponent<Call>::Refusal(const Conditions& c) {
  if (c.app_key.empty() && c.app_secret.empty()) return "no app_key and no app_secret";
  return Call::Refusal(c);
}

template <class Call>
void ClientComponent<Call>::ApplyDefaults() {
  Conditions& c = records_.cond;
  FillEmpty(c.v, "1.0");
  FillEmpty(c.format, "xml");
  FillEmpty(c.method, Call::kMethod);
  for (const auto& item : Call::kNames)
    FillEmpty(records_.request_names.*item.member, item.fallback);
  FillEmpty(records_.answer_names, Call::kAnswerNames);
  FillEmpty(records_.marker_names, Call::kMarkers);
  if constexpr (requires { Call::MoreDefaults(records_); }) Call::MoreDefaults(records_);
}

template <class Call>
std::optional<std::string> ClientComponent<Call>::SignedUrl() const {
  const std::string fields = Call::FieldsValue(records_);
  const std::string timestamp = ChinaTimestamp(clock_());
  static constexpr auto kOrder = SentOrder<Call::kNames>();
  std::array<RequestParam, kOrder.size()> params;
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    const auto& item = Call::kNames[kOrder[i]];
    const std::string_view value = item.sent == Sent::kFields      ? std::string_view(fields)
                                   : item.sent == Sent::kTimestamp ? std::string_view(timestamp)
                                                                   : records_.cond.*item.value;
    params[i] = {records_.request_names.*item.member, value, item.kind};
  }
  return BuildSignedUrl(records_.request_names.url, records_.cond.app_secret, params,
                        records_.request_names.sign);
}

template <class Call>
std::string ClientComponent<Call>::BuildRequestURL() const {
  return SignedUrl().value_or(std::string());
}

template <class Call>
bool ClientComponent<Call>::SendRequest() {
  const std::optional<std::string> url = SignedUrl();
  if (!url) return Fail(FetchError::Kind::Signing, "MD5 is not available to sign the request");
  HttpResult answer = http_->Get(*url);
  if (!answer.ok()) {
    error_ = FromHttp(answer);
    return false;
  }
  if (IsWebPage(answer.content_type, answer.body)) {
    return Fail(FetchError::Kind::HtmlPage, "a web page (" + answer.content_type +
                                                ") came back instead of the platform's answer");
  }
  if (!document_.Parse(answer.body)) {
    return Fail(FetchError::Kind::NotWellFormed,
                "answer is not well-formed XML: " + document_.Error());
  }
  const XmlNode root = *document_.Root();
  // The first marker name is the element every good answer carries.
  const std::string_view marker = records_.marker_names.*Call::kMarkers.front().member;
  if (!root.Find(marker)) {
    XmlFieldReader reader;
    std::string code, msg;
    reader.Read(root, "code", code);
    reader.Read(root, "msg", msg);
    if (!code.empty()) {
      return Fail(FetchError::Kind::Gateway, "gateway error " + code + ": " + msg, code);
    }
    return Fail(FetchError::Kind::NoMarker,
                "answer <" + std::string(root.Name()) + "> has no <" + std::string(marker) + ">");
  }
  results_ = Results{};
  XmlFieldReader reader;
  Call::Parse(root, records_, results_, reader);
  if (!reader.ok()) return Fail(FetchError::Kind::Parse, reader.error());
  return true;
}

template <class Call>
bool ClientComponent<Call>::Fail(FetchError::Kind kind, std::string message,
                                 std::string gateway_code) {
  error_ = FetchError{};
  error_.kind = kind;
  error_.message = std::move(message);
  error_.gateway_code = std::move(gateway_code);
  return false;
}

}  // namespace orvalen
