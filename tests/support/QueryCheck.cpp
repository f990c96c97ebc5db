#include "support/QueryCheck.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>

namespace orvalen::test {
namespace {

std::string Hex(const unsigned char* bytes, unsigned int length) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 15];
  }
  return hex;
}

}  // namespace

QueryPairs SplitQuery(const std::string& url) {
  QueryPairs pairs;
  const std::size_t q = url.find('?');
  if (q == std::string::npos) return pairs;
  std::size_t pos = q + 1;
  while (pos <= url.size()) {
    std::size_t amp = url.find('&', pos);
    if (amp == std::string::npos) amp = url.size();
    const std::string part = url.substr(pos, amp - pos);
    const std::size_t eq = part.find('=');
    pairs.emplace_back(part.substr(0, eq), eq == std::string::npos ? "" : part.substr(eq + 1));
    pos = amp + 1;
  }
  return pairs;
}

std::vector<std::string> Names(const QueryPairs& pairs) {
  std::vector<std::string> names;
  for (const auto& p : pairs) names.push_back(p.first);
  return names;
}

std::string ValueOf(const QueryPairs& pairs, const std::string& name) {
  for (const auto& p : pairs) {
    if (p.first == name) return p.second;
  }
  return "<absent>";
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned int byte = 0;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::sscanf(text.substr(i + 1, 2).c_str(), "%2x", &byte) == 1) {
      out.push_back(static_cast<char>(byte));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool SignatureMatches(const std::string& url, const std::string& secret,
                      const std::string& sign_name) {
  std::string signing = secret;
  std::string sent;
  for (const auto& [name, value] : SplitQuery(url)) {
    if (name == sign_name) {
      sent = value;
    } else {
      signing += PercentDecode(name) + PercentDecode(value);
    }
  }
  unsigned char digest[16];
  unsigned int len = 0;
  EVP_Digest(signing.data(), signing.size(), digest, &len, EVP_md5(), nullptr);
  return Hex(digest, len) == sent;
}

std::string SdkSignature(const std::map<std::string, std::string>& sorted,
                         const std::string& secret, bool hmac) {
  std::string pairs;
  for (const auto& [name, value] : sorted) pairs += name + value;
  unsigned char digest[16];
  unsigned int len = 0;
  if (hmac) {
    HMAC(EVP_md5(), secret.data(), static_cast<int>(secret.size()),
         reinterpret_cast<const unsigned char*>(pairs.data()), pairs.size(), digest, &len);
  } else {
    const std::string text = secret + pairs + secret;
    EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr);
  }
  return Hex(digest, len);
}

}  // namespace orvalen::test
