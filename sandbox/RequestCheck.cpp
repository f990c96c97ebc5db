#include "sandbox/RequestCheck.h"

#include <openssl/evp.h>

#include <cstdio>

namespace orvalen::sandbox {

std::string ExpectedSignature(const Params& params, std::string_view secret) {
  // A multimap keeps its keys in byte order: the order the gateway signs in.
  std::string text(secret);
  for (const auto& [name, value] : params) {
    if (name == "sign") continue;
    text += name;
    text += value;
  }
  if (Param(params, "v") == "2.0") text += secret;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr);
  std::string hex;
  for (unsigned int i = 0; i < len; ++i) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", digest[i]);
    hex += buf;
  }
  return hex;
}

bool SignatureValid(const Params& params, std::string_view secret) {
  const std::string v = Param(params, "v");
  if (v == "2.0" && Param(params, "sign_method") != "md5") return false;
  if (v != "1.0" && v != "2.0") return false;
  const std::string sent = Param(params, "sign");
  return !sent.empty() && sent == ExpectedSignature(params, secret);
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

std::string Param(const Params& params, const std::string& name) {
  const auto it = params.lower_bound(name);  // the first of several
  return it == params.end() || it->first != name ? std::string() : it->second;
}

}  // namespace orvalen::sandbox
