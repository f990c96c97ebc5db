// Proxies as the environment names them, and this machine never behind one.
#include "platform/ProxySettings.h"

#include <gtest/gtest.h>

#include <map>

namespace orvalen {
namespace {

ProxySettings From(const std::map<std::string, std::string>& environment) {
  return ProxySettings::FromEnvironment([&environment](const char* name) -> const char* {
    const auto it = environment.find(name);
    return it == environment.end() ? nullptr : it->second.c_str();
  });
}

TEST(ProxySettingsTest, EachSchemeFromItsVariableTheLowerCaseFirstThenAll) {
  EXPECT_EQ(From({}).ProxyFor("http", "shop.example"), "");
  EXPECT_EQ(From({{"HTTP_PROXY", "http://up:1"}}).ProxyFor("http", "shop.example"), "http://up:1");
  const ProxySettings both = From({{"http_proxy", "http://low:1"},
                                   {"HTTP_PROXY", "http://up:1"},
                                   {"https_proxy", "http://secure:2"},
                                   {"all_proxy", "socks5://all:3"}});
  EXPECT_EQ(both.ProxyFor("http", "shop.example"), "http://low:1");
  EXPECT_EQ(both.ProxyFor("https", "shop.example"), "http://secure:2");
  const ProxySettings all = From({{"ALL_PROXY", "socks5://all:3"}});
  EXPECT_EQ(all.ProxyFor("http", "shop.example"), "socks5://all:3");
  EXPECT_EQ(all.ProxyFor("https", "shop.example"), "socks5://all:3");
  EXPECT_EQ(From({{"http_proxy", ""}, {"HTTP_PROXY", "http://up:1"}}).ProxyFor("http", "x.example"),
            "http://up:1");  // an empty variable counts as unset
}

// Loopback goes direct whatever no_proxy says; the user's entries are added
// to it: domains with what is below them, addresses, ranges, or "*".
TEST(ProxySettingsTest, LoopbackAndTheUsersHostsGoDirect) {
  const ProxySettings s = From({{"http_proxy", "http://p:1"},
                                {"no_proxy", " .corp.example, intranet ,10.0.0.0/8, fd00::/8"}});
  for (const char* direct :
       {"localhost", "127.0.0.1", "127.9.8.7", "::1", "[::1]", "LocalHost", "corp.example",
        "wiki.corp.example", "intranet", "a.intranet", "10.200.1.2", "[fd00::5]"}) {
    EXPECT_TRUE(s.GoesDirect(direct)) << direct;
    EXPECT_EQ(s.ProxyFor("http", direct), "") << direct;
  }
  for (const char* proxied : {"shop.example", "badcorp.example", "128.0.0.1", "11.0.0.1",
                              "[fe80::1]", "localhost.example"}) {
    EXPECT_FALSE(s.GoesDirect(proxied)) << proxied;
    EXPECT_EQ(s.ProxyFor("http", proxied), "http://p:1") << proxied;
  }
  EXPECT_TRUE(From({{"http_proxy", "http://p:1"}, {"NO_PROXY", "*"}}).GoesDirect("shop.example"));
  EXPECT_TRUE(From({{"http_proxy", "http://p:1"}}).GoesDirect("127.0.0.1"));
}

TEST(ProxySettingsTest, TheWebEngineGetsTheSameSettings) {
  EXPECT_EQ(From({}).ChromiumFlags(), std::vector<std::string>{"--no-proxy-server"});
  const auto flags = From({{"HTTP_PROXY", "http://up:1"},
                           {"https_proxy", "http://secure:2"},
                           {"no_proxy", ".corp.example,10.0.0.0/8"}})
                         .ChromiumFlags();
  EXPECT_EQ(flags, (std::vector<std::string>{
                       "--proxy-server=http=http://up:1;https=http://secure:2",
                       "--proxy-bypass-list=localhost;127.0.0.0/8;[::1];corp.example;"
                       "*.corp.example;10.0.0.0/8"}));
  EXPECT_EQ(ProxySettings::Address("http://user:pw@proxy.example:3128/"), "proxy.example:3128");
  EXPECT_EQ(ProxySettings::Address("proxy.example:3128"), "proxy.example:3128");
}

}  // namespace
}  // namespace orvalen
