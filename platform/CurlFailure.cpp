#include "platform/CurlFailure.h"

#include <cerrno>

namespace orvalen {
namespace {

// OpenSSL's certificate verification results (x509_vfy.h) that say more
// than "not trusted". libcurl checks the host name itself once OpenSSL has
// accepted the chain, and leaves "unspecified" (or nothing) behind when
// the name is what failed.
constexpr long kUnspecified = 1;
constexpr long kCertNotYetValid = 9;
constexpr long kCertHasExpired = 10;
constexpr long kHostnameMismatch = 62;
constexpr long kIpAddressMismatch = 64;

long InfoLong(CURL* handle, CURLINFO info) {
  long value = 0;
  curl_easy_getinfo(handle, info, &value);
  return value;
}

HttpResult::Failure CertificateFailure(CURL* handle) {
  switch (InfoLong(handle, CURLINFO_SSL_VERIFYRESULT)) {
    case 0:
    case kUnspecified:
    case kHostnameMismatch:
    case kIpAddressMismatch:
      return HttpResult::Failure::CertificateWrongHost;
    case kCertNotYetValid:
    case kCertHasExpired:
      return HttpResult::Failure::CertificateExpired;
    default:
      return HttpResult::Failure::CertificateUntrusted;
  }
}

HttpResult::Failure ConnectFailure(CURL* handle, bool through_proxy) {
  if (through_proxy) return HttpResult::Failure::Proxy;
  return InfoLong(handle, CURLINFO_OS_ERRNO) == ECONNREFUSED ? HttpResult::Failure::Refused
                                                             : HttpResult::Failure::Unreachable;
}

}  // namespace

HttpResult::Failure ClassifyCurlFailure(CURLcode rc, CURL* handle, bool through_proxy) {
  using F = HttpResult::Failure;
  switch (rc) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_PROXY:
      return F::Proxy;
    case CURLE_COULDNT_RESOLVE_HOST:
      return F::NameNotFound;
    case CURLE_COULDNT_CONNECT:
      return ConnectFailure(handle, through_proxy);
    case CURLE_OPERATION_TIMEDOUT:
      return F::Timeout;
    case CURLE_PEER_FAILED_VERIFICATION:
      return CertificateFailure(handle);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
      return F::Tls;
    case CURLE_RECV_ERROR:
      // A proxy that would not open the tunnel answers the CONNECT itself.
      if (through_proxy && InfoLong(handle, CURLINFO_HTTP_CONNECTCODE) >= 300) return F::Proxy;
      return F::Reset;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
      return F::Reset;
    default:
      return F::Transport;
  }
}

}  // namespace orvalen
