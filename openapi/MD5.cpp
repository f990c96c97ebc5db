#include "openapi/MD5.h"

#include <openssl/evp.h>

namespace orvalen {

void Md5::Free::operator()(evp_md_ctx_st* ctx) const {
  EVP_MD_CTX_free(ctx);
}

Md5::Md5() : ctx_(EVP_MD_CTX_new()) {
  Start();
}

Md5::~Md5() = default;

void Md5::Start() {
  failed_ = !ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_md5(), nullptr) != 1;
}

void Md5::Update(std::string_view bytes) {
  if (failed_) return;
  failed_ = EVP_DigestUpdate(ctx_.get(), bytes.data(), bytes.size()) != 1;
}

std::optional<Md5Bytes> Md5::Finish() {
  Md5Bytes out{};
  unsigned int len = 0;
  const bool ok =
      !failed_ && EVP_DigestFinal_ex(ctx_.get(), out.data(), &len) == 1 && len == out.size();
  Start();
  if (!ok) return std::nullopt;
  return out;
}

std::optional<Md5Bytes> Md5Digest(std::string_view bytes) {
  Md5Bytes out{};
  unsigned int len = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), out.data(), &len, EVP_md5(), nullptr) != 1 ||
      len != out.size()) {
    return std::nullopt;
  }
  return out;
}

std::string Md5Hex(const Md5Bytes& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(32);
  for (std::uint8_t b : digest) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0x0f]);
  }
  return out;
}

}  // namespace orvalen
