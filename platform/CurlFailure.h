// CurlFailure: how a libcurl transfer failed, in HttpResult's terms, read
// from its result code and what the handle knows of the transfer.
#pragma once

#include <curl/curl.h>

#include "platform/HttpTransport.h"

namespace orvalen {

// `through_proxy`: the transfer was sent through a proxy.
HttpResult::Failure ClassifyCurlFailure(CURLcode rc, CURL* handle, bool through_proxy);

}  // namespace orvalen
