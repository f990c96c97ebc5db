#include "platform/CurlHttpClient.h"

#include <curl/curl.h>

#include "platform/CurlFailure.h"

#include <chrono>
#include <mutex>
#include <string>

namespace orvalen {
namespace {

void EnsureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct BodySink {
  std::string* body;
  std::size_t limit;
  bool too_large = false;
};

// Abandons a transfer that has received nothing for `limit`, counted from the
// last byte (or from the start).
struct IdleWatch {
  const std::atomic<bool>* aborted;
  std::chrono::steady_clock::duration limit;
  std::chrono::steady_clock::time_point last_data = std::chrono::steady_clock::now();
  curl_off_t last_total = 0;
  bool timed_out = false;
};

int CheckIdle(void* user, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* watch = static_cast<IdleWatch*>(user);
  if (*watch->aborted) return 1;
  const auto now = std::chrono::steady_clock::now();
  if (dlnow != watch->last_total) {
    watch->last_total = dlnow;
    watch->last_data = now;
    return 0;
  }
  if (now - watch->last_data >= watch->limit) {
    watch->timed_out = true;
    return 1;  // aborts with CURLE_ABORTED_BY_CALLBACK
  }
  return 0;
}

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<BodySink*>(user);
  const std::size_t n = size * count;
  if (sink->body->size() + n > sink->limit) {
    sink->too_large = true;
    return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
  }
  sink->body->append(data, n);
  return n;
}

// The scheme and host of `url` as libcurl reads it; empty parts when it
// cannot read them.
struct UrlParts {
  std::string scheme, host;
};
UrlParts PartsOf(const std::string& url) {
  struct UrlFree {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
  };
  const std::unique_ptr<CURLU, UrlFree> parsed(curl_url());
  UrlParts parts;
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
    return parts;
  for (auto [part, into] :
       {std::pair{CURLUPART_SCHEME, &parts.scheme}, {CURLUPART_HOST, &parts.host}}) {
    char* text = nullptr;
    if (curl_url_get(parsed.get(), part, &text, 0) == CURLUE_OK) *into = text;
    curl_free(text);
  }
  return parts;
}

}  // namespace

const char* const kUserAgent = "Orvalen/" ORVALEN_VERSION;

struct CurlHttpClient::Handle {
  struct EasyCleanup {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
  };
  struct MultiCleanup {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
  };
  // Declared first, destroyed last: the easy handle must leave the multi first.
  std::unique_ptr<CURLM, MultiCleanup> multi;
  std::unique_ptr<CURL, EasyCleanup> curl;
  // The transfer runs on the multi handle so that Abort() can wake it at once.
};

namespace {

// Runs one transfer to its end, or until `aborted` is set.
CURLcode Perform(CURLM* multi, CURL* easy, const std::atomic<bool>& aborted) {
  curl_multi_add_handle(multi, easy);
  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) break;
    if (running == 0) {
      int pending = 0;
      if (CURLMsg* msg = curl_multi_info_read(multi, &pending); msg && msg->msg == CURLMSG_DONE) {
        result = msg->data.result;
      }
      break;
    }
    if (aborted) break;
    curl_multi_poll(multi, nullptr, 0, 100, nullptr);
  }
  curl_multi_remove_handle(multi, easy);
  return result;
}

}  // namespace

CurlHttpClient::CurlHttpClient(HttpOptions options)
    : handle_(std::make_unique<Handle>()), options_(options) {
  EnsureCurlInitialised();
  handle_->curl.reset(curl_easy_init());
  handle_->multi.reset(curl_multi_init());
}

void CurlHttpClient::Abort() {
  aborted_ = true;
  if (handle_->multi) curl_multi_wakeup(handle_->multi.get());
}

CurlHttpClient::~CurlHttpClient() = default;

HttpResult CurlHttpClient::Get(const std::string& url) {
  HttpResult result;
  CURL* h = handle_->curl.get();
  if (h == nullptr || !handle_->multi || aborted_) {
    result.failure = HttpResult::Failure::Transport;
    result.error = h == nullptr ? "could not create an HTTP handle" : "aborted";
    return result;
  }
  curl_easy_reset(h);  // keeps the connection cache, drops the previous call's options
  BodySink sink{&result.body, options_.max_body};
  IdleWatch idle{&aborted_, options_.read_timeout};
  char detail[CURL_ERROR_SIZE] = {};
  const UrlParts parts = PartsOf(url);
  // Set whether empty or not: an empty proxy keeps libcurl from the environment's.
  const std::string proxy = options_.proxies.ProxyFor(parts.scheme, parts.host);
  SetOptions(h, url, proxy);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CheckIdle);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &idle);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);

  const CURLcode rc = Perform(handle_->multi.get(), h, aborted_);
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
  const char* type = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
    result.content_type = type;
  if (!proxy.empty()) result.proxy = ProxySettings::Address(proxy);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, nullptr);

  if (sink.too_large || rc == CURLE_FILESIZE_EXCEEDED) {
    result.failure = HttpResult::Failure::TooLarge;
    result.error = "answer larger than " + std::to_string(options_.max_body) + " bytes";
  } else if (aborted_) {
    result.failure = HttpResult::Failure::Transport;
    result.error = "aborted";
  } else if (idle.timed_out) {
    result.failure = HttpResult::Failure::Timeout;
    result.error = "no data received for " + std::to_string(options_.read_timeout.count()) + " s";
  } else if (rc != CURLE_OK) {
    result.failure = ClassifyCurlFailure(rc, h, !proxy.empty());
    result.error = detail[0] != '\0' ? detail : curl_easy_strerror(rc);
  } else if (result.status >= 300 && result.status < 400) {
    result.failure = HttpResult::Failure::Status;
    result.error = "redirect (HTTP " + std::to_string(result.status) + ") not followed";
  } else if (result.status < 200 || result.status >= 300) {
    result.failure = HttpResult::Failure::Status;
    result.error = "HTTP status " + std::to_string(result.status);
  }
  if (!result.ok()) result.body.clear();
  return result;
}

// The options of one call: its address, the limits, the proxy, and what
// the request says of itself.
void CurlHttpClient::SetOptions(CURL* h, const std::string& url, const std::string& proxy) const {
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options_.connect_timeout.count()));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options_.read_timeout.count()));
  curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(options_.total_timeout.count()));
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options_.max_body));
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");  // every encoding libcurl can decode
  curl_easy_setopt(h, CURLOPT_USERAGENT, options_.user_agent.c_str());
  if (!options_.ca_file.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, options_.ca_file.c_str());
}

}  // namespace orvalen
