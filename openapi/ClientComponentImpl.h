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

inline FetchError::Kind KindOf(HttpResult::Failure failure) {
  switch (failure) {
    case HttpResult::Failure::Unreachable:
      return FetchError::Kind::Unreachable;
    case HttpResult::Failure::Timeout:
      return FetchError::Kind::Timeout;
    case HttpResult::Failure::Status:
      return FetchError::Kind::HttpStatus;
    default:
      return FetchError::Kind::Transport;
  }
}

template <class Call>
ClientComponent<Call>::ClientComponent(std::unique_ptr<HttpTransport> http, Clock clock)
    : http_(http ? std::move(http) : std::make_unique<CurlHttpClient>()),
      clock_(clock ? std::move(clock) : Clock(&std::chrono::system_clock::now)) {}

template <class Call>
ClientComponent<Call>::~ClientComponent() = default;

template <class Call>
bool ClientComponent<Call>::Fetch(const Conditions& conditions, const Info& info_names,
                                  const Name& name, const XML& xml, const Results*& results) {
  records_ = Records{conditions, info_names, name, xml};
  error_ = {};
  if (const char* refusal = Call::Refusal(records_.cond)) {
    return Fail(FetchError::Kind::Precondition, refusal);
  }
  ApplyDefaults();
  if (const std::string& url = records_.name.url; HasBlankOrControl(url)) {
    return Fail(FetchError::Kind::Precondition,
                "gateway address \"" + url + "\" holds a blank or a control byte");
  }
  if (!SendRequest()) return false;
  results = &results_;
  return true;
}

template <class Call>
void ClientComponent<Call>::ApplyDefaults() {
  Conditions& c = records_.cond;
  FillEmpty(c.v, "1.0");
  FillEmpty(c.format, "xml");
  FillEmpty(c.method, Call::kMethod);
  Name& n = records_.name;
  FillEmpty(n.v, "v");
  FillEmpty(n.timestamp, "timestamp");
  FillEmpty(n.url, kDefaultGatewayUrl);
  FillEmpty(n.sign, "sign");
  FillEmpty(n.format, "format");
  FillEmpty(n.method, "method");
  FillEmpty(n.app_key, "app_key");
  if constexpr (requires { n.fields; }) FillEmpty(n.fields, "fields");
  Call::ApplyDefaults(records_);
}

template <class Call>
std::optional<std::string> ClientComponent<Call>::SignedUrl() const {
  const std::string fields = Call::FieldsValue(records_);
  const std::string timestamp = ChinaTimestamp(clock_());
  const auto params = Call::Params(records_, fields, timestamp);
  return BuildSignedUrl(records_.name.url, records_.cond.app_secret, params, records_.name.sign);
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
    return Fail(KindOf(answer.failure), std::move(answer.error));
  }
  if (!document_.Parse(answer.body)) {
    return Fail(FetchError::Kind::NotWellFormed,
                "answer is not well-formed XML: " + document_.Error());
  }
  const XmlNode root = *document_.Root();
  const std::string_view marker = Call::Marker(records_.xml);
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
  error_ = FetchError{kind, std::move(message), std::move(gateway_code)};
  return false;
}

}  // namespace orvalen
