// The programs on networks no one here wrote, run as a user runs them: a
// proxy in the environment (in lower or upper case, alive or dead), an
// address elsewhere reached only through it, and the sandbox on IPv6 and
// on every address of the machine.
#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>

#include "config/SiteConfig.h"
#include "support/ChildProcess.h"
#include "support/ForwardProxy.h"
#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

const std::string kElsewhere = "http://orvalen.test/" + std::string(kConfigPath);

std::string DeadProxy() {
  return "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort());
}

struct Outcome {
  std::optional<int> status;
  std::string out, err;
};

Outcome Cli(const std::vector<std::string>& args, const test::EnvironmentChanges& env) {
  ChildProcess cli(ORVALEN_CLI_PATH, args, env);
  return {cli.Wait(30s), cli.Output(), cli.Errors()};
}

class NetworkProgramTest : public ::testing::Test {
 protected:
  test::LogCapture log;
  test::SandboxRunner sandbox{3000, &log};
};

// A proxy for everything, even a dead one, leaves this machine alone.
TEST_F(NetworkProgramTest, TheCliGoesStraightToThisMachineWhateverTheProxy) {
  const std::string dead = DeadProxy();
  const Outcome o = Cli({"--config", sandbox.server().config_url(), "items", "--keyword", "MP3"},
                        {{"http_proxy", dead},
                         {"HTTP_PROXY", dead},
                         {"all_proxy", dead},
                         {"https_proxy", dead},
                         {"no_proxy", "intranet.example"}});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("MP3"), std::string::npos);
}

// An address elsewhere goes through the proxy, named in upper case only; a
// proxy that is not there is the reason, with its address.
TEST_F(NetworkProgramTest, TheCliReachesAnAddressElsewhereThroughTheProxy) {
  test::ForwardProxy proxy(sandbox.server().port());
  const Outcome o = Cli({"--config", kElsewhere, "items", "--keyword", "MP3"},
                        {{"HTTP_PROXY", proxy.Url()}, {"http_proxy", std::nullopt}});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(proxy.SawPathLike("http://orvalen.test/taoke/"));
  EXPECT_TRUE(proxy.SawPathLike("http://orvalen.test/router/rest?"));

  const std::string dead = DeadProxy();
  const Outcome failed = Cli({"--config", kElsewhere, "cats"}, {{"http_proxy", dead}});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("the proxy " + dead.substr(7) + " could not be reached"),
            std::string::npos)
      << failed.err;
}

// The window's calls and its view's pictures take the same proxy, named in
// upper case only, for an address elsewhere.
TEST_F(NetworkProgramTest, TheWindowAndItsPicturesGoThroughTheSameProxy) {
  test::ForwardProxy proxy(sandbox.server().port());
  ChildProcess window(ORVALEN_WINDOW_PATH, {"--config", kElsewhere},
                      {{"HTTP_PROXY", proxy.Url()},
                       {"http_proxy", std::nullopt},
                       {"QT_QPA_PLATFORM", "offscreen"},
                       {"QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu"}});
  EXPECT_TRUE(test::WaitUntil([&] { return proxy.SawPathLike("http://orvalen.test/pic/"); }))
      << window.Errors();
  EXPECT_TRUE(proxy.SawPathLike("method=taobao.itemcats.get"));
  EXPECT_TRUE(proxy.SawPathLike("method=taobao.users.get"));
  window.Signal(SIGTERM);
  EXPECT_EQ(window.Wait(30s), 0) << window.Errors();
}

// The sandbox's own addresses, printed and in its documents, are ones a
// client can use: bracketed for IPv6, and the one the client reached it by
// when it listens on every address.
TEST(SandboxAddressTest, Ipv6AndEveryAddressServeWhatAClientCanUse) {
  ChildProcess v6(ORVALEN_SANDBOX_PATH, {"--host", "::1", "--port", "0"});
  ASSERT_TRUE(test::WaitUntil([&] { return v6.Output().find('\n') != std::string::npos; }, 30s))
      << v6.Errors();
  const std::string said = v6.Output();
  ASSERT_TRUE(said.starts_with("listening on http://[::1]:")) << said;
  const int port = std::atoi(said.c_str() + said.rfind(':') + 1);
  httplib::Client client("::1", port);
  const std::string document = client.Get("/" + std::string(kConfigPath))->body;
  const std::string gateway = "http://[::1]:" + std::to_string(port) + "/router/rest";
  EXPECT_NE(document.find("<http>" + gateway + "</http>"), std::string::npos) << document;
  const Outcome o =
      Cli({"--config", "http://[::1]:" + std::to_string(port) + "/" + std::string(kConfigPath),
           "listurl", "手机"},
          {});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(o.out.starts_with("http://[::1]:" + std::to_string(port) + "/list?")) << o.out;

  ChildProcess every(ORVALEN_SANDBOX_PATH, {"--host", "0.0.0.0", "--port", "0"});
  ASSERT_TRUE(test::WaitUntil([&] { return every.Output().find('\n') != std::string::npos; }, 30s));
  EXPECT_TRUE(every.Output().starts_with("listening on http://0.0.0.0:")) << every.Output();
  const int any = std::atoi(every.Output().c_str() + every.Output().rfind(':') + 1);
  httplib::Client by_name("127.0.0.1", any);
  const std::string named =
      by_name.Get("/" + std::string(kConfigPath), {{"Host", "sandbox.lan:" + std::to_string(any)}})
          ->body;
  EXPECT_NE(named.find("<http>http://sandbox.lan:" + std::to_string(any) + "/router/rest</http>"),
            std::string::npos);
  const std::string forged =
      by_name.Get("/" + std::string(kConfigPath), {{"Host", "a\"><x>"}})->body;
  EXPECT_NE(forged.find("<http>http://127.0.0.1:" + std::to_string(any) + "/router/rest</http>"),
            std::string::npos);
}

}  // namespace
}  // namespace orvalen
