#include "sandbox/RequestCheck.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>

namespace orvalen::sandbox {

namespace {

enum class Scheme { Md5V1, Md5V2, HmacV2, Unknown };

Scheme SchemeOf(const Params& params) {
  const std::string v = Param(params, "v");
  if (v == "1.0") return Scheme::Md5V1;
  if (v != "2.0") return Scheme::Unknown;
  const std::string method = Param(params, "sign_method");
  if (method.empty() || method == "md5") return Scheme::Md5V2;
  if (method == "hmac") return Scheme::HmacV2;
  return Scheme::Unknown;
}

// Every name and value but the signature's, in byte order of the names.
std::string SortedPairs(const Params& params) {
  // A multimap keeps its keys in byte order: the order the gateway signs in.
  std::string text;
  for (const auto& [name, value] : params) {
    if (name == "sign") continue;
    text += name;
    text += value;
  }
  return text;
}

std::string UpperHex(const unsigned char* bytes, unsigned int len) {
  std::string hex;
  for (unsigned int i = 0; i < len; ++i) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    hex += buf;
  }
  return hex;
}

}  // namespace

std::string ExpectedSignature(const Params& params, std::string_view secret) {
  const Scheme scheme = SchemeOf(params);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  const std::string pairs = SortedPairs(params);
  if (scheme == Scheme::HmacV2) {
    if (HMAC(EVP_md5(), secret.data(), static_cast<int>(secret.size()),
             reinterpret_cast<const unsigned char*>(pairs.data()), pairs.size(), digest,
             &len) == nullptr) {
      return "";
    }
    return UpperHex(digest, len);
  }
  if (scheme == Scheme::Unknown) return "";
  std::string text = std::string(secret) + pairs;
  if (scheme == Scheme::Md5V2) text += secret;
  if (EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr) != 1) return "";
  return UpperHex(digest, len);
}

SignatureCheck CheckSignature(const Params& params, std::string_view secret) {
  if (Param(params, "v") == "2.0" && SchemeOf(params) == Scheme::Unknown) {
    return SignatureCheck::UnknownMethod;
  }
  const std::string sent = Param(params, "sign");
  const std::string expected = ExpectedSignature(params, secret);
  return !sent.empty() && sent == expected ? SignatureCheck::Valid : SignatureCheck::Invalid;
}

std::optional<std::chrono::system_clock::time_point> ParseChinaTime(std::string_view text) {
  int y, mo, d, h, mi, s;
  char tail;
  const std::string str(text);
  if (str.size() != 19 ||
      std::sscanf(str.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok() || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0) return std::nullopt;
  return sys_days(date) + hours(h) + minutes(mi) + seconds(s) - hours(8);
}

std::optional<std::chrono::system_clock::time_point> ParseTimestamp(std::string_view text) {
  constexpr std::size_t kMillisecondDigits = 13;
  if (text.size() != kMillisecondDigits ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return ParseChinaTime(text);
  }
  return std::chrono::system_clock::time_point(
      std::chrono::milliseconds(std::stoll(std::string(text))));
}

std::string Param(const Params& params, const std::string& name) {
  const auto it = params.lower_bound(name);  // the first of several
  return it == params.end() || it->first != name ? std::string() : it->second;
}

}  // namespace orvalen::sandbox
