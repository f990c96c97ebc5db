// Benchmarks of the client's hot paths: URL building, answer parsing (from
// the answer's bytes to filled entries) and a whole Fetch over loopback.
//
//   build/bench/orvalen-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <thread>

#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"
#include "support/CannedAnswers.h"
#include "support/CannedTransport.h"

namespace orvalen {
namespace {

using test::CannedTransport;

std::string ItemAnswer() {
  std::string xml = std::string(test::kXmlDeclaration) + "<rsp><totalResults>20000</totalResults>";
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(i);
    xml += test::ItemEntryXml(
        {.iid = std::to_string(1000000 + i),
         .nick = "卖家_" + n,
         .title = "诺基亚 <span class=H>N97</span> 智能手机 正品行货 " + n,
         .price = "2999.00",
         .pic_url = "http://127.0.0.1:8970/pic/" + n + ".jpg",
         .click_url = "http://127.0.0.1:8970/click?e=" + std::string(96, 'a') + n,
         .commission = "89.97",
         .commission_num = "12",
         .commission_rate = "300",
         .commission_volume = "1079.64"});
  }
  return xml + "</rsp><!--sandbox-->";
}

std::string UsersAnswer() {
  std::string xml = std::string(test::kXmlDeclaration) + "<rsp>";
  for (int i = 0; i < 40; ++i) {
    xml += "<user><sex>m</sex><nick>卖家_" + std::to_string(i) +
           "</nick><location><city>杭州</city><state>浙江</state></location>"
           "<user_id>12345</user_id><created>2008-01-01 10:00:00</created>"
           "<last_visit>2010-05-01 10:00:00</last_visit><buyer_credit><level>3</level>"
           "<score>30</score><good_num>30</good_num><total_num>31</total_num></buyer_credit>"
           "<seller_credit><level>12</level><score>20000</score><good_num>19990</good_num>"
           "<total_num>20010</total_num></seller_credit></user>";
  }
  return xml + "</rsp>";
}

TaobaokeItemConditions ItemSearch() {
  TaobaokeItemConditions c;
  c.app_key = "12345678";
  c.app_secret = "0123456789abcdef0123456789abcdef";
  c.nick = "peldrun";
  c.keyword = "诺基亚 N97";
  c.cid = "1512";
  c.area = "江苏,浙江,上海";
  c.sort = "commissionNum_desc";
  c.start_credit = "1heart";
  c.end_credit = "5goldencrown";
  c.page_no = "1";
  return c;
}

void BM_BuildRequestURL_Items(benchmark::State& state) {
  TTaobaokeItem item(std::make_unique<CannedTransport>(ItemAnswer()));
  const ATaobaokeItemInfo* results = nullptr;
  item.Fetch(ItemSearch(), {}, {}, {}, results);
  for (auto _ : state) benchmark::DoNotOptimize(item.BuildRequestURL());
}
BENCHMARK(BM_BuildRequestURL_Items);

void BM_ParseResults_Items40(benchmark::State& state) {
  TTaobaokeItem item(std::make_unique<CannedTransport>(ItemAnswer()));
  const ATaobaokeItemInfo* results = nullptr;
  const TaobaokeItemConditions cond = ItemSearch();
  for (auto _ : state) {
    if (!item.Fetch(cond, {}, {}, {}, results)) state.SkipWithError("fetch failed");
  }
}
BENCHMARK(BM_ParseResults_Items40);

void BM_ParseResults_Users40(benchmark::State& state) {
  TTaobaoUsers users(std::make_unique<CannedTransport>(UsersAnswer()));
  const ATaobaoUsersInfo* results = nullptr;
  TaobaoUsersConditions cond;
  cond.app_key = "12345678";
  cond.nicks = "a,b,c,";
  for (auto _ : state) {
    if (!users.Fetch(cond, {}, {}, {}, results)) state.SkipWithError("fetch failed");
  }
}
BENCHMARK(BM_ParseResults_Users40);

void BM_Fetch_ItemsLoopback(benchmark::State& state) {
  httplib::Server server;
  const std::string body = ItemAnswer();
  server.Get("/router/rest", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(body, "text/xml");
  });
  server.set_tcp_nodelay(true);  // answer headers and body without waiting for an ACK
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::yield();

  TTaobaokeItem item;
  TaobaokeItemName name;
  name.url = "http://127.0.0.1:" + std::to_string(port) + "/router/rest";
  const TaobaokeItemConditions cond = ItemSearch();
  const ATaobaokeItemInfo* results = nullptr;
  for (auto _ : state) {
    if (!item.Fetch(cond, {}, name, {}, results)) state.SkipWithError("fetch failed");
  }
  server.stop();
  thread.join();
}
BENCHMARK(BM_Fetch_ItemsLoopback)->UseRealTime();

}  // namespace
}  // namespace orvalen

BENCHMARK_MAIN();
