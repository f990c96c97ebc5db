// ClientComponent<Call>: the skeleton every open-platform client shares.
//
//   TTaobaoCats cats;                         // owns its HTTP client and XML document
//   TTaobaoCats::Records r;                   // values and names, as the configuration gave them
//   if (const auto found = cats.Fetch(r)) use((*found.results)[0].name);
//   else report(found.error.message);
//
// Fetch copies the records, refuses when a required value is missing,
// fills empty names with the built-in defaults, sends the signed GET, checks
// the answer's marker element and maps the entries into the result storage.
// The results stay valid until the next Fetch on the same component. The
// four-record Fetch is the same call with the records given one by one.
// The Call type supplies what differs per platform call: its records, its
// description (CallSupport.h: names, defaults, parameters), its
// precondition beyond the key and secret, and the result mapping.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "openapi/FetchError.h"
#include "platform/HttpTransport.h"
#include "platform/XmlDocument.h"

namespace orvalen {

using Clock = std::function<std::chrono::system_clock::time_point()>;

template <class Call>
class ClientComponent {
 public:
  using Description = Call;
  using Conditions = typename Call::Conditions;
  using Entry = typename Call::Entry;
  using Name = typename Call::Name;
  using XML = typename Call::XML;
  using Results = typename Call::Results;
  using Records = typename Call::Records;

  // Null arguments select a CurlHttpClient with the standard limits and the
  // system clock.
  explicit ClientComponent(std::unique_ptr<HttpTransport> http = nullptr, Clock clock = nullptr);
  ~ClientComponent();
  ClientComponent(const ClientComponent&) = delete;
  ClientComponent& operator=(const ClientComponent&) = delete;

  FetchResult<Results> Fetch(const Records& records);
  bool Fetch(const Conditions& conditions, const Entry& answer_names, const Name& request_names,
             const XML& marker_names, const Results*& results);

  // The signed URL for the records as last passed to Fetch (after defaults);
  // empty when the signature cannot be computed.
  std::string BuildRequestURL() const;

  const FetchError& LastError() const { return error_; }

  // Ends the call in flight (from any thread) and fails every later one.
  void Abort() { http_->Abort(); }
  const Records& records() const { return records_; }

 private:
  static const char* Refusal(const Conditions& c);
  bool CheckAndSend();
  void ApplyDefaults();
  std::optional<std::string> SignedUrl() const;
  bool SendRequest();
  bool Fail(FetchError::Kind kind, std::string message, std::string gateway_code = {});

  std::unique_ptr<HttpTransport> http_;
  XmlDocument document_;
  Clock clock_;
  Records records_;
  Results results_{};
  FetchError error_;
};

}  // namespace orvalen
