#include "openapi/FetchError.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace orvalen {
namespace {

FetchError::Kind KindOf(HttpResult::Failure failure) {
  using F = HttpResult::Failure;
  using K = FetchError::Kind;
  switch (failure) {
    case F::None:
      return K::None;
    case F::NameNotFound:
      return K::NameNotFound;
    case F::Refused:
      return K::Refused;
    case F::Unreachable:
      return K::Unreachable;
    case F::Proxy:
      return K::Proxy;
    case F::Timeout:
      return K::Timeout;
    case F::Reset:
      return K::Reset;
    case F::CertificateUntrusted:
      return K::CertificateUntrusted;
    case F::CertificateExpired:
      return K::CertificateExpired;
    case F::CertificateWrongHost:
      return K::CertificateWrongHost;
    case F::Tls:
      return K::Tls;
    case F::Status:
      return K::HttpStatus;
    case F::TooLarge:
      return K::TooLarge;
    case F::Transport:
      break;
  }
  return K::Transport;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
           return std::tolower(static_cast<unsigned char>(c)) == lower;
         });
}

}  // namespace

FetchError FromHttp(const HttpResult& result) {
  FetchError error;
  error.kind = KindOf(result.failure);
  error.message = result.error;
  error.status = result.status;
  error.proxy = result.proxy;
  return error;
}

bool IsWebPage(const std::string& content_type, const std::string& body) {
  if (StartsWithIgnoringCase(content_type, "text/html")) return true;
  std::string_view text = body;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  return StartsWithIgnoringCase(text, "<!doctype html") || StartsWithIgnoringCase(text, "<html");
}

}  // namespace orvalen
