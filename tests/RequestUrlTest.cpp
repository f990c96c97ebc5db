#include "openapi/RequestUrl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "support/QueryCheck.h"

namespace orvalen {
namespace {

using namespace std::chrono;

// 2010-06-01 01:05:03 UTC, which is 09:05:03 in China.
const system_clock::time_point kMorning = sys_days{2010y / 6 / 1} + 1h + 5min + 3s;

TEST(RequestUrlTest, PercentEncodeEscapesEveryByteInUpperCase) {
  EXPECT_EQ(PercentEncode("abc"), "%61%62%63");
  EXPECT_EQ(PercentEncode(" :"), "%20%3A");
  EXPECT_EQ(PercentEncode("搜索"), "%E6%90%9C%E7%B4%A2");
  EXPECT_EQ(PercentEncode(std::string("\0\xff", 2)), "%00%FF");
  EXPECT_EQ(PercentEncode(""), "");
}

TEST(RequestUrlTest, TimestampIsChinaTimeWhateverTheLocalZone) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  for (const char* zone : {"UTC", "America/New_York", "Asia/Shanghai"}) {
    setenv("TZ", zone, 1);
    tzset();
    EXPECT_EQ(ChinaTimestamp(kMorning), "2010-06-01 09:05:03") << zone;
  }
  old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
  // Past midnight in China while still the previous day in UTC.
  EXPECT_EQ(ChinaTimestamp(sys_days{2010y / 12 / 31} + 20h), "2011-01-01 04:00:00");
}

TEST(RequestUrlTest, UrlWritesEachKindAndEndsWithTheSignature) {
  const RequestParam params[] = {{"a", "x y", ParamKind::Plain},
                                 {"empty", "", ParamKind::Plain},
                                 {"q", "ab", ParamKind::Text},
                                 {"timestamp", "09:05:03", ParamKind::Time},
                                 {"v", "1.0", ParamKind::Plain}};
  const std::string url = BuildSignedUrl("http://gw/router/rest", "secret", params, "sign").value();
  const std::string head =
      "http://gw/router/"
      "rest?a=x%20y&empty=&q=%61%62&timestamp=%30%39%3A%30%35%3A%30%33&v=1.0&sign=";
  ASSERT_EQ(url.substr(0, head.size()), head);
  const std::string sig = url.substr(head.size());
  EXPECT_EQ(sig.size(), 32u);
  EXPECT_EQ(sig.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(url.find("secret"), std::string::npos);
  EXPECT_TRUE(test::SignatureMatches(url, "secret"));
}

// Bytes that would end a value, start a fragment or be decoded as a blank
// are escaped in plain values and names; the signature is over the text as
// it was, so the gateway, which decodes, checks it as signed.
TEST(RequestUrlTest, PlainValuesAndNamesEscapeOnlyQueryBreakers) {
  EXPECT_EQ(EncodeQueryBreakers("taobao.itemcats.get"), "taobao.itemcats.get");
  EXPECT_EQ(EncodeQueryBreakers("1,2;3:4/5?6"), "1,2;3:4/5?6");
  EXPECT_EQ(EncodeQueryBreakers("a=b"), "a%3Db");
  EXPECT_EQ(EncodeQueryBreakers("搜索"), "搜索");
  EXPECT_EQ(EncodeQueryBreakers(" a&b#c+d%e\t\n"), "%20a%26b%23c%2Bd%25e%09%0A");
  EXPECT_EQ(EncodeQueryBreakers(std::string("\0\x7f", 2)), "%00%7F");

  const RequestParam params[] = {{"sids", "1&v=9#x", ParamKind::Plain},
                                 {"my name", "a+b", ParamKind::Plain},
                                 {"v", "1.0", ParamKind::Plain}};
  const std::string url = BuildSignedUrl("http://gw/r", "s", params, "sign").value();
  const auto query = test::SplitQuery(url);
  EXPECT_EQ(test::Names(query), (std::vector<std::string>{"sids", "my%20name", "v", "sign"}));
  EXPECT_EQ(test::PercentDecode(query.at(0).second), "1&v=9#x");
  EXPECT_EQ(test::PercentDecode(query.at(1).second), "a+b");
  EXPECT_TRUE(test::SignatureMatches(url, "s"));
}

}  // namespace
}  // namespace orvalen
