#include "platform/CurlHttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sandbox/Gzip.h"
#include "support/ChildProcess.h"
#include "support/Fixtures.h"
#include "support/ForwardProxy.h"
#include "support/TestCertificate.h"
#include "support/TestServer.h"
#include "support/TlsServer.h"

namespace orvalen {
namespace {

using test::TestServer;

HttpOptions Quick() {
  return test::QuickOptions(1024);
}

TEST(CurlHttpClientTest, ReturnsTheBodyAndReusesTheHandle) {
  TestServer server;
  server.Serve("/a", "first");
  server.Serve("/b", "second");
  CurlHttpClient http(Quick());
  const HttpResult a = http.Get(server.Url("/a?x=1"));
  const HttpResult b = http.Get(server.Url("/b"));
  ASSERT_TRUE(a.ok()) << a.error;
  EXPECT_EQ(a.body, "first");
  EXPECT_EQ(a.status, 200);
  EXPECT_EQ(b.body, "second");
  EXPECT_EQ(server.Requests().at(0).target, "/a?x=1");
}

// Every encoding libcurl decodes is offered, and an answer is decoded
// whatever the server picked, asked or not; the request names the program.
TEST(CurlHttpClientTest, CompressedAnswersAreDecodedAndTheProgramNamed) {
  TestServer server;
  std::string encodings, agent;
  server.Handle("/packed", [&](const httplib::Request& req, httplib::Response& res) {
    encodings = req.get_header_value("Accept-Encoding");
    agent = req.get_header_value("User-Agent");
    res.set_header("Content-Encoding", "gzip");
    res.set_content(*sandbox::Gzip("<rsp>" + std::string(500, 'x') + "</rsp>"), "text/xml");
  });
  CurlHttpClient http(Quick());
  const HttpResult r = http.Get(server.Url("/packed"));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.body, "<rsp>" + std::string(500, 'x') + "</rsp>");
  EXPECT_NE(encodings.find("gzip"), std::string::npos) << encodings;
  EXPECT_NE(encodings.find("deflate"), std::string::npos) << encodings;
  EXPECT_EQ(agent, "Orvalen/1.0");
}

// Through the environment's proxy, but never to this machine; a proxy
// that cannot be reached is the failure, and named.
TEST(CurlHttpClientTest, ThroughTheProxyButNeverForThisMachine) {
  TestServer origin;
  origin.Serve("/x", "<rsp/>");
  test::ForwardProxy proxy(origin.port());
  const auto through = [](const std::string& proxy_url) {
    HttpOptions options = Quick();
    options.proxies = ProxySettings::FromEnvironment([proxy_url](const char* name) -> const char* {
      return std::string_view(name) == "http_proxy" ? proxy_url.c_str() : nullptr;
    });
    return options;
  };
  CurlHttpClient http(through(proxy.Url()));
  const HttpResult far = http.Get("http://orvalen.test/x");
  ASSERT_TRUE(far.ok()) << far.error;
  EXPECT_EQ(far.body, "<rsp/>");
  EXPECT_EQ(proxy.Seen(), std::vector<std::string>{"http://orvalen.test/x"});
  EXPECT_TRUE(http.Get(origin.Url("/x")).ok());
  EXPECT_EQ(proxy.Seen().size(), 1u);  // loopback went direct
  EXPECT_EQ(origin.Requests().size(), 2u);

  const int dead = test::UnusedLoopbackPort();
  const HttpResult failed = CurlHttpClient(through("http://127.0.0.1:" + std::to_string(dead)))
                                .Get("http://orvalen.test/x");
  EXPECT_EQ(failed.failure, HttpResult::Failure::Proxy) << failed.error;
  EXPECT_EQ(failed.proxy, "127.0.0.1:" + std::to_string(dead));
}

TEST(CurlHttpClientTest, ErrorStatusesAndRedirectsFail) {
  TestServer server;
  server.Handle("/err", [](const auto&, auto& res) {
    res.status = 500;
    res.set_content("<rsp><totalResults>1</totalResults></rsp>", "text/xml");
  });
  server.Handle("/moved", [&](const auto&, auto& res) { res.set_redirect(server.Url("/err")); });
  CurlHttpClient http(Quick());
  const HttpResult err = http.Get(server.Url("/err"));
  EXPECT_EQ(err.failure, HttpResult::Failure::Status);
  EXPECT_EQ(err.status, 500);
  EXPECT_TRUE(err.body.empty());
  const HttpResult moved = http.Get(server.Url("/moved"));
  EXPECT_EQ(moved.failure, HttpResult::Failure::Status);
  EXPECT_NE(moved.error.find("redirect"), std::string::npos);
  EXPECT_EQ(server.Requests().size(), 2u);  // the redirect was not followed
}

// Without a length (a body that never ends) is ClientComponentTest's.
TEST(CurlHttpClientTest, BodiesBeyondTheLimitFail) {
  TestServer server;
  server.Serve("/big", std::string(2048, 'x'));
  CurlHttpClient http(Quick());
  EXPECT_EQ(http.Get(server.Url("/big")).failure, HttpResult::Failure::TooLarge);
  EXPECT_EQ(http.Get(server.Url("/nothing-here")).failure, HttpResult::Failure::Status);
}

// The total limit is far off: only the read timeout can end the call
// before the server's pause does (which would be a transport failure).
TEST(CurlHttpClientTest, AStallMidAnswerEndsAtTheReadTimeout) {
  TestServer server;
  server.Handle("/stall", [&](const auto&, auto& res) {
    res.set_chunked_content_provider("text/xml", [&](std::size_t offset, httplib::DataSink& sink) {
      if (offset == 0) return sink.write("<rsp>", 5);
      server.Pause(std::chrono::seconds(30));
      return false;
    });
  });
  HttpOptions options = Quick();
  options.total_timeout = std::chrono::minutes(5);
  EXPECT_EQ(CurlHttpClient(options).Get(server.Url("/stall")).failure,
            HttpResult::Failure::Timeout);
}

// Aborted once the server has the request: the answer never ends by itself.
TEST(CurlHttpClientTest, AbortEndsTheCallInFlightAndLaterOnes) {
  TestServer server;
  server.Handle("/slow", [&](const auto&, auto& res) {
    res.set_chunked_content_provider("text/xml", [&](std::size_t, httplib::DataSink& sink) {
      server.Pause(std::chrono::milliseconds(50));
      return !server.Stopping() && sink.write("x", 1);
    });
  });
  HttpOptions options = Quick();
  options.total_timeout = std::chrono::minutes(5);
  CurlHttpClient http(options);
  std::thread aborter([&] {
    test::WaitUntil([&] { return !server.Requests().empty(); });
    http.Abort();
  });
  EXPECT_EQ(http.Get(server.Url("/slow")).error, "aborted");
  aborter.join();
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(http.Get(server.Url("/slow")).error, "aborted");
  EXPECT_EQ(server.Requests().size(), 1u);  // nothing sent
}

// Each way a certificate fails is told apart: signed by no one trusted,
// out of its dates, made for another host.
TEST(CurlHttpClientTest, HttpsChecksTheCertificateAndSaysWhatIsWrongWithIt) {
  const test::TestCertificate good(/*for_loopback=*/true), wrong_host(/*for_loopback=*/false),
      expired(/*for_loopback=*/true, /*expired=*/true);
  test::TlsServer trusted(good), misnamed(wrong_host), old(expired);
  const auto trusting = [](const test::TestCertificate& cert) {
    HttpOptions options = Quick();
    options.ca_file = cert.cert_file();
    return options;
  };
  CurlHttpClient http(trusting(good));
  const HttpResult ok = http.Get(trusted.Url());
  ASSERT_TRUE(ok.ok()) << ok.error;
  EXPECT_EQ(ok.body, "<rsp/>");

  CurlHttpClient system_store(Quick());
  EXPECT_EQ(system_store.Get(trusted.Url()).failure, HttpResult::Failure::CertificateUntrusted);
  const HttpResult refused = CurlHttpClient(trusting(wrong_host)).Get(misnamed.Url());
  EXPECT_EQ(refused.failure, HttpResult::Failure::CertificateWrongHost) << refused.error;
  EXPECT_FALSE(refused.error.empty());
  const HttpResult outdated = CurlHttpClient(trusting(expired)).Get(old.Url());
  EXPECT_EQ(outdated.failure, HttpResult::Failure::CertificateExpired) << outdated.error;
}

TEST(CurlHttpClientTest, NothingListeningAndOtherSchemesFail) {
  int port = 0;
  {
    TestServer closed;  // take a free port, then close it again
    port = closed.port();
  }
  CurlHttpClient http(Quick());
  const HttpResult r = http.Get("http://127.0.0.1:" + std::to_string(port) + "/");
  EXPECT_EQ(r.failure, HttpResult::Failure::Refused);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(http.Get("file:///etc/hostname").failure, HttpResult::Failure::Transport);
}

}  // namespace
}  // namespace orvalen
