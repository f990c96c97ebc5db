// The sandbox's HTTP server under what a hostile or careless client does:
// oversized input, idle and slow connections, too many connections, and a
// stop while connections are open. Bounds here are short; the checks allow
// generous slack, so a busy machine cannot fail them.
#include "sandbox/HttpServer.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/ChildProcess.h"
#include "support/RawConnection.h"

namespace orvalen::sandbox {
namespace {

using namespace std::chrono_literals;
using test::RawConnection;

constexpr auto kPlenty = 5s;  // far beyond any bound below

// "/stream": three pieces 20 ms apart; "/forever": a piece every ten
// minutes; anything else: the request echoed.
HttpReply Answer(const HttpRequest& req) {
  const bool forever = req.path == "/forever";
  if (req.path != "/stream" && !forever) {
    return HttpReply::Text(200, "text/plain", req.method + " " + req.path + " " + req.body);
  }
  HttpReply r = HttpReply::Text(200, "text/plain", "");
  r.pieces = [forever](std::size_t n) -> std::optional<HttpPiece> {
    if (forever) return HttpPiece{10min, "x"};
    if (n == 3) return std::nullopt;
    return HttpPiece{n == 0 ? 0ms : 20ms, "piece" + std::to_string(n) + ";"};
  };
  return r;
}

class HttpServerTest : public ::testing::Test {
 protected:
  void Start(HttpLimits limits) {
    server_ = std::make_unique<HttpServer>(limits, Answer, nullptr);
    port_ = server_->Bind("127.0.0.1", 0);
    ASSERT_GT(port_, 0);
    thread_ = std::thread([this] { server_->Run(); });
  }
  ~HttpServerTest() override {
    if (server_) server_->Stop();
    if (thread_.joinable()) thread_.join();
  }
  // One whole request on a fresh connection; the answer's status.
  int Status(const std::string& request) {
    RawConnection c(port_);
    c.Send(request);
    return c.ReadStatus(kPlenty);
  }

  std::unique_ptr<HttpServer> server_;
  std::thread thread_;
  int port_ = 0;
};

TEST_F(HttpServerTest, OversizedInputIsRefusedWithItsStatusAndClosed) {
  HttpLimits limits;
  limits.max_request_line = 1024;
  limits.max_header = 4096;
  limits.max_body = 2048;
  Start(limits);
  const std::string host = "Host: x\r\n";
  const std::pair<std::string, int> cases[] = {
      {"GET /" + std::string(2000, 'a') + " HTTP/1.1\r\n" + host + "\r\n", 414},
      {"GET /" + std::string(5000, 'a'), 414},  // a line that never ends
      {"GET / HTTP/1.1\r\n" + host + "X-Big: " + std::string(5000, 'b') + "\r\n\r\n", 431},
      {"POST / HTTP/1.1\r\n" + host + "Content-Length: 5000000\r\n\r\n", 413},
      {"POST / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n1000\r\n" +
           std::string(4096, 'c') + "\r\n0\r\n\r\n",
       413},
      {"HELLO\r\n\r\n", 400},
  };
  for (const auto& [request, status] : cases) {
    RawConnection c(port_);
    c.Send(request);
    EXPECT_EQ(c.ReadStatus(kPlenty), status) << request.substr(0, 60);
    EXPECT_TRUE(c.ClosedWithin(kPlenty)) << request.substr(0, 60);
  }
  // Nothing else was disturbed: a request at the limits is served.
  EXPECT_EQ(Status("POST /" + std::string(900, 'a') + " HTTP/1.1\r\n" + host +
                   "Content-Length: 2048\r\n\r\n" + std::string(2048, 'd')),
            200);
}

TEST_F(HttpServerTest, IdleAndSlowConnectionsAreClosedWithinTheirBounds) {
  HttpLimits limits;
  limits.idle = 200ms;
  limits.request = 400ms;
  Start(limits);
  RawConnection silent(port_);
  RawConnection kept(port_);
  kept.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(kept.ReadStatus(kPlenty), 200);
  EXPECT_TRUE(silent.ClosedWithin(kPlenty));
  EXPECT_TRUE(kept.ClosedWithin(kPlenty));

  // A byte every 20 ms keeps the connection busy but does not extend its time.
  RawConnection slow(port_);
  slow.Send("GET / HTTP/1.1\r\n");
  const auto until = std::chrono::steady_clock::now() + kPlenty;
  bool closed = false;
  while (!closed && std::chrono::steady_clock::now() < until) {
    closed = !slow.Send("X") || slow.ClosedWithin(20ms);
  }
  EXPECT_TRUE(closed);
}

TEST_F(HttpServerTest, KeepsConnectionsAliveAndStreamsPieces) {
  Start({});
  RawConnection c(port_);
  c.Send(
      "GET /a HTTP/1.1\r\nHost: x\r\n\r\nPOST /b HTTP/1.1\r\nHost: x\r\nContent-Length: "
      "2\r\n\r\nhi");
  EXPECT_EQ(c.ReadStatus(kPlenty), 200);
  EXPECT_FALSE(c.ClosedWithin(300ms));  // kept alive
  EXPECT_NE(c.received().find("GET /a "), std::string::npos);
  EXPECT_NE(c.received().find("POST /b hi"), std::string::npos);

  RawConnection s(port_);
  s.Send("GET /stream HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(s.ReadStatus(kPlenty), 200);
  EXPECT_TRUE(s.ClosedWithin(kPlenty));  // a streamed answer ends the connection
  EXPECT_NE(s.received().find("Transfer-Encoding: chunked"), std::string::npos);
  EXPECT_NE(s.received().find("piece0;"), std::string::npos);
  EXPECT_NE(s.received().find("piece2;\r\n0\r\n\r\n"), std::string::npos);
}

TEST_F(HttpServerTest, TooManyConnectionsAreClosedAtOnce) {
  HttpLimits limits;
  limits.max_connections = 3;
  Start(limits);
  std::vector<RawConnection> held;
  for (int i = 0; i < 3; ++i) held.emplace_back(port_);
  ASSERT_TRUE(test::WaitUntil([&] { return server_->Connections() == 3; }));
  RawConnection extra(port_);
  EXPECT_TRUE(extra.ClosedWithin(kPlenty));
  held.clear();
  ASSERT_TRUE(test::WaitUntil([&] { return server_->Connections() == 0; }));
  EXPECT_EQ(Status("GET / HTTP/1.1\r\nHost: x\r\n\r\n"), 200);
}

TEST_F(HttpServerTest, StopEndsServingAtOnceWhateverIsOpenOrBeforeRun) {
  Start({});
  std::vector<RawConnection> open;
  for (int i = 0; i < 50; ++i) open.emplace_back(port_);
  open.emplace_back(port_).Send("GET / HTTP/1.1\r\nHo");
  RawConnection streaming(port_);
  streaming.Send("GET /forever HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(streaming.ReadStatus(kPlenty), 200);
  const auto asked = std::chrono::steady_clock::now();
  server_->Stop();
  thread_.join();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, kPlenty);
  server_.reset();  // the connections close with it
  EXPECT_TRUE(streaming.ClosedWithin(kPlenty));
  EXPECT_TRUE(open.front().ClosedWithin(kPlenty));

  HttpServer early({}, Answer, nullptr);  // stopped before it runs: Run returns at once
  ASSERT_GT(early.Bind("127.0.0.1", 0), 0);
  early.Stop();
  early.Run();
  EXPECT_FALSE(early.IsRunning());
  EXPECT_EQ(early.Bind("256.1.1.1", 0), -1);
}

}  // namespace
}  // namespace orvalen::sandbox
