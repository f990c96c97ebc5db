// CurlHttpClient: HttpTransport over one reusable libcurl easy handle.
//
//   CurlHttpClient http;                      // 15 s connect and read limits
//   HttpResult r = http.Get("http://host/x"); // r.ok(), r.body, r.error
//
// Only 2xx answers succeed: redirects are not followed and count as failures,
// as do statuses of 400 and above. A body beyond max_body bytes is a failure
// and is read no further. Certificates are checked for https. Every encoding
// libcurl can decode is offered, and an answer is decoded whatever encoding
// the server picked; the requests name the program (User-Agent). Proxies
// come from the environment (ProxySettings), never for this machine itself.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/HttpTransport.h"
#include "platform/ProxySettings.h"

namespace orvalen {

// What the requests call the program: "Orvalen/" and its version.
extern const char* const kUserAgent;

struct HttpOptions {
  std::chrono::seconds connect_timeout{15};
  // A transfer that receives nothing for this long is abandoned, and so is one
  // that averages under one byte a second over this long (a drip).
  std::chrono::seconds read_timeout{15};
  // Upper bound on the whole call, so that nothing can wait without end.
  std::chrono::seconds total_timeout{120};
  std::size_t max_body = 16u * 1024u * 1024u;
  // Certificate authorities to trust for https instead of the system's
  // (a PEM file); empty: the system's store.
  std::string ca_file;
  ProxySettings proxies = ProxySettings::FromEnvironment();
  std::string user_agent = kUserAgent;
};

class CurlHttpClient final : public HttpTransport {
 public:
  explicit CurlHttpClient(HttpOptions options = {});
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  HttpResult Get(const std::string& url) override;
  void Abort() override;

 private:
  struct Handle;
  void SetOptions(void* handle, const std::string& url, const std::string& proxy) const;
  std::unique_ptr<Handle> handle_;
  HttpOptions options_;
  std::atomic<bool> aborted_{false};
};

}  // namespace orvalen
