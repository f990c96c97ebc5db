// MD5 (RFC 1321) over libcrypto, with the incremental interface and the two
// helpers the request signer uses.
//
//   Md5Hex(*Md5Digest("abc"))  == "900150983cd24fb0d6963f7d28e17f72"
//   Md5 m; m.Update("a"); m.Update("bc"); m.Finish() == Md5Digest("abc")
//
// libcrypto can refuse MD5 (a FIPS policy, a missing provider): then Finish
// and Md5Digest give no digest, never a digest of zeros.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace orvalen {

using Md5Bytes = std::array<std::uint8_t, 16>;

class Md5 {
 public:
  Md5();  // initialised and ready for Update
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  void Update(std::string_view bytes);
  // Returns the digest (none if libcrypto failed at any step since the last
  // Finish) and starts a fresh computation.
  std::optional<Md5Bytes> Finish();

 private:
  void Start();

  struct Free {
    void operator()(evp_md_ctx_st* ctx) const;
  };
  std::unique_ptr<evp_md_ctx_st, Free> ctx_;
  bool failed_ = false;
};

std::optional<Md5Bytes> Md5Digest(std::string_view bytes);
std::string Md5Hex(const Md5Bytes& digest);  // 32 lowercase hex digits

}  // namespace orvalen
