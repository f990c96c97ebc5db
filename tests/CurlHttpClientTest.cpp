#include "platform/CurlHttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/ChildProcess.h"
#include "support/Fixtures.h"
#include "support/TestCertificate.h"
#include "support/TestServer.h"

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

// An https server on 127.0.0.1 with a certificate made for the test.
class TlsServer {
 public:
  explicit TlsServer(const test::TestCertificate& cert)
      : server_(cert.cert_file().c_str(), cert.key_file().c_str()) {
    server_.Get("/", [](const auto&, auto& res) { res.set_content("<rsp/>", "text/xml"); });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TlsServer() {
    server_.stop();
    thread_.join();
  }
  std::string Url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  httplib::SSLServer server_;
  std::thread thread_;
  int port_ = 0;
};

TEST(CurlHttpClientTest, HttpsChecksTheCertificate) {
  const test::TestCertificate good(/*for_loopback=*/true), wrong_host(/*for_loopback=*/false);
  TlsServer trusted(good), misnamed(wrong_host);
  HttpOptions trusting = Quick();
  trusting.ca_file = good.cert_file();
  CurlHttpClient http(trusting);
  const HttpResult ok = http.Get(trusted.Url());
  ASSERT_TRUE(ok.ok()) << ok.error;
  EXPECT_EQ(ok.body, "<rsp/>");

  // Not signed by anyone trusted, or not made for this host: refused.
  CurlHttpClient system_store(Quick());
  EXPECT_EQ(system_store.Get(trusted.Url()).failure, HttpResult::Failure::Transport);
  HttpOptions other = Quick();
  other.ca_file = wrong_host.cert_file();
  CurlHttpClient wrong(other);
  const HttpResult refused = wrong.Get(misnamed.Url());
  EXPECT_EQ(refused.failure, HttpResult::Failure::Transport);
  EXPECT_FALSE(refused.error.empty());
}

TEST(CurlHttpClientTest, NothingListeningAndOtherSchemesFail) {
  int port = 0;
  {
    TestServer closed;  // take a free port, then close it again
    port = closed.port();
  }
  CurlHttpClient http(Quick());
  const HttpResult r = http.Get("http://127.0.0.1:" + std::to_string(port) + "/");
  EXPECT_EQ(r.failure, HttpResult::Failure::Unreachable);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(http.Get("file:///etc/hostname").failure, HttpResult::Failure::Transport);
}

}  // namespace
}  // namespace orvalen
