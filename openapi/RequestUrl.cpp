#include "openapi/RequestUrl.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "openapi/MD5.h"

namespace orvalen {

namespace {

void AppendEscaped(std::string& out, unsigned char b) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(kHex[b >> 4]);
  out.push_back(kHex[b & 0x0f]);
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char b : bytes) AppendEscaped(out, b);
  return out;
}

bool HasBlankOrControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return IsBlankOrControl(static_cast<unsigned char>(c)); });
}

std::string EncodeQueryBreakers(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) {
    const bool breaks =
        IsBlankOrControl(b) || b == '&' || b == '#' || b == '+' || b == '%' || b == '=';
    if (breaks) {
      AppendEscaped(out, b);
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

std::string ChinaTimestamp(std::chrono::system_clock::time_point when) {
  constexpr std::time_t kUtcPlus8 = 8 * 60 * 60;
  const std::time_t t = std::chrono::system_clock::to_time_t(when) + kUtcPlus8;
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

std::string SigningString(std::string_view secret, std::span<const RequestParam> params) {
  std::string s(secret);
  for (const RequestParam& p : params) {
    s.append(p.name);
    s.append(p.value);  // text values are already UTF-8; nothing to convert
  }
  return s;
}

std::optional<std::string> BuildSignedUrl(std::string_view gateway, std::string_view secret,
                                          std::span<const RequestParam> params,
                                          std::string_view sign_name) {
  const std::optional<Md5Bytes> digest = Md5Digest(SigningString(secret, params));
  if (!digest) return std::nullopt;
  std::string sig = Md5Hex(*digest);
  for (char& c : sig) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  std::string url;
  url.reserve(gateway.size() + 512);
  url.append(gateway).push_back('?');
  for (const RequestParam& p : params) {
    url.append(EncodeQueryBreakers(p.name)).push_back('=');
    if (p.kind == ParamKind::Plain) {
      url.append(EncodeQueryBreakers(p.value));
    } else {
      url.append(PercentEncode(p.value));
    }
    url.push_back('&');
  }
  url.append(EncodeQueryBreakers(sign_name)).push_back('=');
  url.append(sig);
  return url;
}

std::string JoinFields(std::initializer_list<std::string_view> names) {
  std::string out;
  bool first = true;
  for (std::string_view n : names) {
    if (!first) out.push_back(',');
    out.append(n);
    first = false;
  }
  return out;
}

}  // namespace orvalen
