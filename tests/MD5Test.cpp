#include "openapi/MD5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <string>

namespace orvalen {
namespace {

// The digest itself is libcrypto's; these cases check what this wrapper
// adds: feeding in pieces, starting over, a refusal, the hex form.
TEST(MD5Test, IncrementalUpdatesEqualOneShotAcrossBlockBoundaries) {
  std::string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char>(i * 7));
  for (std::size_t split : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 128u, 299u}) {
    Md5 md5;
    md5.Update(std::string_view(text).substr(0, split));
    md5.Update(std::string_view(text).substr(split));
    EXPECT_EQ(md5.Finish(), Md5Digest(text)) << split;
  }
}

TEST(MD5Test, FinishStartsAFreshDigest) {
  Md5 md5;
  md5.Update("something else");
  md5.Finish();
  md5.Update("abc");
  EXPECT_EQ(Md5Hex(md5.Finish().value()), "900150983cd24fb0d6963f7d28e17f72");
}

// A policy that allows no MD5 (here: only FIPS implementations, of which none
// is loaded) must give no digest at all, never one of zeros.
TEST(MD5Test, RefusedByLibcryptoGivesNoDigest) {
  ASSERT_EQ(EVP_set_default_properties(nullptr, "fips=yes"), 1);
  const std::optional<Md5Bytes> one_shot = Md5Digest("abc");
  Md5 md5;
  md5.Update("abc");
  const std::optional<Md5Bytes> incremental = md5.Finish();
  ASSERT_EQ(EVP_set_default_properties(nullptr, ""), 1);
  EXPECT_FALSE(one_shot.has_value());
  EXPECT_FALSE(incremental.has_value());
  EXPECT_TRUE(Md5Digest("abc").has_value());
}

TEST(MD5Test, HexIsLowercaseHighNibbleFirst) {
  Md5Bytes digest{};
  digest[0] = 0xAB;
  digest[15] = 0x0F;
  EXPECT_EQ(Md5Hex(digest), "ab00000000000000000000000000000f");
}

}  // namespace
}  // namespace orvalen
