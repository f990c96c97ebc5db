#include "config/ConfigLocation.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

TEST(ConfigLocationTest, OnlyWebAddressesWithAHost) {
  for (const char* good : {"http://127.0.0.1:8970/x.php", "https://h", "http://h?q=1",
                           "http://[::1]:8970/", "HTTP://h/"}) {
    EXPECT_TRUE(IsConfigAddress(good)) << good;
  }
  for (const char* bad :
       {"", "h/x", "ftp://h/x", "file:///etc/passwd", "http://", "http:///x", "http://:80/",
        "http://user@h/", "http://h/a b", "http://h/\n", " http://h/"}) {
    EXPECT_FALSE(IsConfigAddress(bad)) << bad;
  }
}

TEST(ConfigLocationTest, FlagThenEnvironmentThenBuiltIn) {
  const std::string kBuiltIn = "http://built.in/cfg";
  EXPECT_EQ(ChooseConfigUrl("http://flag/", "http://env/", kBuiltIn).url, "http://flag/");
  EXPECT_EQ(ChooseConfigUrl(std::nullopt, "http://env/", kBuiltIn).url, "http://env/");
  EXPECT_EQ(ChooseConfigUrl(std::nullopt, "", kBuiltIn).url, kBuiltIn);
  EXPECT_EQ(ChooseConfigUrl(std::nullopt, nullptr, kBuiltIn).url, kBuiltIn);
  // A bad flag is an error even when the environment holds a good address.
  const ConfigChoice bad = ChooseConfigUrl("nope\nmore", "http://env/", kBuiltIn);
  EXPECT_TRUE(bad.url.empty());
  EXPECT_EQ(bad.error, "--config takes an http or https address, not 'nope?more'");
  EXPECT_NE(ChooseConfigUrl(std::nullopt, "x", kBuiltIn).error.find(kConfigUrlVariable),
            std::string::npos);
}

}  // namespace
}  // namespace orvalen
