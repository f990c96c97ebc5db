// The skeleton every component shares, exercised through the category call:
// how hostile or failed answers end, each as its own kind of failure,
// leaving the previous results alone.
#include "openapi/TaobaoCats.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "support/Fixtures.h"
#include "support/QueryCheck.h"

namespace orvalen {
namespace {

constexpr const char* kGood =
    "<itemcats_get_response><item_cat><cid>14</cid><name>数码相机</name></item_cat>"
    "</itemcats_get_response>";

class ClientComponentTest : public test::GatewayTest<TTaobaoCats> {
 protected:
  ClientComponentTest() {
    gateway.answer = kGood;
    EXPECT_TRUE(Fetch());
  }

  // Fails as `kind`, leaves the caller the first answer's entries and never
  // shows the secret in the reason.
  void ExpectFailure(FetchError::Kind kind) {
    EXPECT_FALSE(Fetch());
    EXPECT_EQ(component.LastError().kind, kind) << component.LastError().message;
    EXPECT_FALSE(component.LastError().message.empty());
    EXPECT_EQ(component.LastError().message.find(kSecret), std::string::npos);
    EXPECT_EQ((*results)[0].cid + " " + (*results)[0].name, "14 数码相机");
  }
};

TEST_F(ClientComponentTest, GatewayErrorAnswerIsRejectedWithItsCode) {
  gateway.answer = "<error_rsp><code>29</code><msg>Invalid app Key</msg></error_rsp>";
  ExpectFailure(FetchError::Kind::Gateway);
  EXPECT_EQ(component.LastError().message, "gateway error 29: Invalid app Key");
  EXPECT_EQ(component.LastError().gateway_code, "29");
  gateway.answer = "<rsp><something/></rsp>";
  ExpectFailure(FetchError::Kind::NoMarker);
}

// Entity bombs and the like are XmlDocumentTest's; here, how they end.
TEST_F(ClientComponentTest, NotWellFormedIsRejected) {
  gateway.answer = "<rsp><item_cat><cid>1</cid></rsp>";
  ExpectFailure(FetchError::Kind::NotWellFormed);
}

// A network that answers every request with its own login page: a web
// page, whether or not it happens to be well-formed.
TEST_F(ClientComponentTest, AWebPageInPlaceOfTheAnswerIsSaidToBeOne) {
  for (const char* page :
       {"<!DOCTYPE html><html><body>Log in to use the Wi-Fi</body></html>",
        "\r\n<HTML><HEAD><TITLE>Portal</TITLE></HEAD><BODY><P>x</BODY></HTML>"}) {
    gateway.answer = page;
    ExpectFailure(FetchError::Kind::HtmlPage);
  }
}

TEST_F(ClientComponentTest, HttpFailuresAreRejected) {
  gateway.server.Handle("/500", [](const auto&, auto& res) {
    res.status = 500;
    res.set_content(kGood, "text/xml");
  });
  name.url = gateway.server.Url("/500");  // redirects fail alike (CurlHttpClientTest)
  ExpectFailure(FetchError::Kind::HttpStatus);
}

TEST_F(ClientComponentTest, EndlessStalledAndAbsentServersFailAsSuch) {
  gateway.server.Handle("/endless", [&](const auto&, auto& res) {
    res.set_chunked_content_provider("text/xml", [&](std::size_t, httplib::DataSink& sink) {
      std::string chunk;
      for (int i = 0; i < 500; ++i) chunk += "<item_cat><cid>1</cid></item_cat>";
      return !gateway.server.Stopping() && sink.write(chunk.data(), chunk.size());
    });
  });
  gateway.server.Handle("/stall", [&](const auto&, auto& res) {
    res.set_chunked_content_provider("text/xml", [&](std::size_t offset, httplib::DataSink& sink) {
      if (offset == 0) return sink.write("<rsp><item_cat>", 15);
      gateway.server.Pause(std::chrono::seconds(30));
      return false;
    });
  });
  // Only the size may end this one, however slowly a busy machine serves it.
  HttpOptions patient = test::QuickOptions();
  patient.read_timeout = patient.total_timeout = std::chrono::minutes(2);
  TTaobaoCats endless(std::make_unique<CurlHttpClient>(patient), test::FixedClock());
  name.url = gateway.server.Url("/endless");
  EXPECT_FALSE(endless.Fetch(cond, info_names, name, xml, results));
  EXPECT_EQ(endless.LastError().kind, FetchError::Kind::TooLarge) << endless.LastError().message;
  name.url = gateway.server.Url("/stall");
  ExpectFailure(FetchError::Kind::Timeout);
  {
    test::TestServer gone;
    name.url = gone.Url("/router/rest");
  }
  ExpectFailure(FetchError::Kind::Refused);
}

// Nothing is sent that the gateway cannot check: a gateway address with a
// blank in it, or a request whose signature libcrypto would not compute.
TEST_F(ClientComponentTest, UnusableAddressOrSignatureSendsNothing) {
  const std::size_t calls = gateway.calls();
  const std::string good = name.url;
  name.url = good + " ";
  ExpectFailure(FetchError::Kind::Precondition);
  EXPECT_NE(component.LastError().message.find("blank"), std::string::npos);
  name.url = good;
  ASSERT_EQ(EVP_set_default_properties(nullptr, "fips=yes"), 1);
  ExpectFailure(FetchError::Kind::Signing);
  ASSERT_EQ(EVP_set_default_properties(nullptr, ""), 1);
  EXPECT_EQ(gateway.calls(), calls);
  EXPECT_TRUE(Fetch());
}

// Values from an answer go back to the gateway intact, whatever they hold.
TEST_F(ClientComponentTest, ValuesWithQueryBytesReachTheGatewayIntact) {
  cond.parent_cid = "1 2&v=9#+%";
  EXPECT_TRUE(Fetch());
  const httplib::Params received = gateway.server.Requests().back().params;
  ASSERT_EQ(received.count("parent_cid"), 1u);
  EXPECT_EQ(received.find("parent_cid")->second, "1 2&v=9#+%");
  EXPECT_EQ(received.find("v")->second, "1.0");
  EXPECT_TRUE(test::SignatureMatches(LastUrl(), kSecret));
}

TEST_F(ClientComponentTest, DefaultsApplyToTheComponentsCopiesOnly) {
  TaobaoCatsConditions mine = cond;
  ASSERT_TRUE(component.Fetch(mine, info_names, name, xml, results));
  EXPECT_EQ(mine.parent_cid, "");
  EXPECT_EQ(mine.method, "");
  EXPECT_EQ(component.records().cond.parent_cid, "0");
  EXPECT_EQ(component.records().cond.method, "taobao.itemcats.get");
  EXPECT_EQ(component.records().request_names.url, gateway.url());
  EXPECT_EQ(component.LastError().kind, FetchError::Kind::None);
}

TEST(ClientComponentDefaultsTest, GatewayUrlDefaultsToTheProductionGateway) {
  class NoNetwork : public HttpTransport {
   public:
    HttpResult Get(const std::string& url) override {
      seen = url;
      HttpResult offline;
      offline.failure = HttpResult::Failure::Transport;
      offline.error = "offline";
      return offline;
    }
    std::string seen;
  };
  auto transport = std::make_unique<NoNetwork>();
  NoNetwork* seen = transport.get();
  TTaobaoCats cats(std::move(transport), test::FixedClock());
  TaobaoCatsConditions cond;
  cond.app_secret = "only a secret";
  const ATaobaoCatsInfo* results = nullptr;
  EXPECT_FALSE(cats.Fetch(cond, {}, {}, {}, results));
  EXPECT_EQ(seen->seen.rfind("http://gw.api.taobao.com/router/rest?app_key=&cids=&", 0), 0u);
  EXPECT_EQ(results, nullptr);
}

}  // namespace
}  // namespace orvalen
