#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli/mcp/CancelSlot.h"
#include "config/SiteConfig.h"
#include "support/QueryCheck.h"
#include "support/TestServer.h"

namespace orvalen {
namespace {

using Json = nlohmann::ordered_json;

// A configuration server and gateway in one: /cfg names /router/rest as the
// gateway of every call; the gateway answers by method.
class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    std::string sections;
    for (const char* s : {"TaobaokeItem", "TaobaoUsers", "TaobaoShop", "TaobaokeShop",
                          "TaobaokeListurl", "TaobaoCats"}) {
      sections += std::string("<") + s + "><name><http>" + server.Url("/router/rest") +
                  "</http></name></" + s + ">";
    }
    server.Serve("/cfg", "<config><api><app_key>k1</app_key><app_sec>TopSecret42</app_sec></api>" +
                             sections + "</config>");
    answers["taobao.itemcats.get"] =
        "<r><item_cat><cid>14</cid><name>数码</name></item_cat><item_cat><cid>16</cid>"
        "<name>女装</name></item_cat></r>";
    answers["taobao.taobaoke.items.get"] =
        "<r><totalResults>1</totalResults><taobaokeItem><iid>7</iid><title><![CDATA[<span "
        "class=H>MP3</span> \"播放器\"]]></title><price>12.50</price></taobaokeItem></r>";
    answers["taobao.users.get"] =
        "<r><user><nick>a</nick><created>c</created><buyer_credit><level>1</level>"
        "</buyer_credit><seller_credit><level>6</level><score>600</score></seller_credit>"
        "</user></r>";
    answers["taobao.shop.get"] = "<r><shop><sid>1001</sid><nick>店主</nick></shop></r>";
    answers["taobao.taobaoke.shops.convert"] =
        "<r><taobaokeShop><click_url>http://s.click/shop</click_url></taobaokeShop></r>";
    answers["taobao.taobaoke.listurl.get"] =
        "<r><taobaokeItem><list_url_by_q>http://s.click/list</list_url_by_q></taobaokeItem></r>";
    server.Handle("/router/rest", [this](const httplib::Request& req, httplib::Response& res) {
      res.set_content(answers[req.get_param_value("method")], "text/xml");
    });
  }

  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    args.insert(args.begin(), {"--config", server.Url("/cfg")});
    return RunCli(args, out, err);
  }
  // Query of the last gateway request.
  test::QueryPairs LastQuery() const { return test::SplitQuery(server.Requests().back().target); }

  test::TestServer server;
  std::map<std::string, std::string> answers;
  std::ostringstream out, err;
};

TEST_F(CliTest, CatsPrintsOneTabSeparatedLinePerEntryUpToTheFirstEmpty) {
  ASSERT_EQ(Run({"cats"}), 0) << err.str();
  EXPECT_EQ(out.str(), "14\t数码\t\t\t\t\n16\t女装\t\t\t\t\n");
  EXPECT_EQ(test::ValueOf(LastQuery(), "parent_cid"), "0");
  EXPECT_EQ(test::ValueOf(LastQuery(), "app_key"), "k1");
  EXPECT_TRUE(test::SignatureMatches(server.Url(server.Requests().back().target), "TopSecret42"));
  ASSERT_EQ(Run({"cats", "14"}), 0);
  EXPECT_EQ(test::ValueOf(LastQuery(), "parent_cid"), "14");
}

TEST_F(CliTest, ItemsMapsOptionsAndCreditsTheBuiltInMember) {
  ASSERT_EQ(Run({"items", "--keyword", "MP3", "--cid", "1201", "--area", "江苏,浙江", "--sort",
                 "price_asc", "--price", "10-200", "--credit", "1heart-5crown", "--page", "3"}),
            0)
      << err.str();
  EXPECT_EQ(out.str(), "7\t\tMP3 \"播放器\"\t12.50\t1\t\t\t\t\t\t\n");
  const test::QueryPairs q = LastQuery();
  EXPECT_EQ(test::PercentDecode(test::ValueOf(q, "nick")), "peldrun");
  EXPECT_EQ(test::PercentDecode(test::ValueOf(q, "area")), "江苏,浙江");
  EXPECT_EQ(test::ValueOf(q, "cid"), "1201");
  EXPECT_EQ(test::ValueOf(q, "start_price"), "10");
  EXPECT_EQ(test::ValueOf(q, "end_price"), "200");
  EXPECT_EQ(test::ValueOf(q, "start_credit"), "1heart");
  EXPECT_EQ(test::ValueOf(q, "end_credit"), "5crown");
  EXPECT_EQ(test::ValueOf(q, "sort"), "price_asc");
  EXPECT_EQ(test::ValueOf(q, "page_no"), "3");
}

TEST_F(CliTest, UsersFlattensBuyerThenSellerCreditAndSendsNicksAsGiven) {
  ASSERT_EQ(Run({"users", "a,b,a,"}), 0);
  EXPECT_EQ(out.str(), "\ta\t\t\t\tc\t\t1\t\t\t\t6\t600\t\t\n");
  EXPECT_EQ(test::PercentDecode(test::ValueOf(LastQuery(), "nicks")), "a,b,a,");
}

TEST_F(CliTest, ShopConvertAndListurl) {
  ASSERT_EQ(Run({"shop", "店主"}), 0);
  EXPECT_EQ(out.str(), "1001\t\t店主\t\t\t\t\t\t\n");
  ASSERT_EQ(Run({"convert", "1001"}), 0);
  EXPECT_EQ(out.str(), "\thttp://s.click/shop\t\t\n");
  EXPECT_EQ(test::ValueOf(LastQuery(), "sids"), "1001");
  EXPECT_EQ(test::PercentDecode(test::ValueOf(LastQuery(), "nick")), "peldrun");
  ASSERT_EQ(Run({"--json", "listurl", "手机"}), 0);
  EXPECT_EQ(Json::parse(out.str()), Json::parse(R"([{"list_url_by_q": "http://s.click/list"}])"));
  EXPECT_EQ(test::PercentDecode(test::ValueOf(LastQuery(), "q")), "手机");
}

// Undoes the TSV escapes of one field.
std::string TsvUnescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out.push_back(field[i]);
      continue;
    }
    const char c = field[++i];
    out.push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c);
  }
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1) {
    parts.push_back(text.substr(from, at - from));
  }
  parts.push_back(text.substr(from));
  return parts;
}

TEST_F(CliTest, AnyValueSurvivesTsvAndJsonOutput) {
  const std::vector<std::string> titles = {"tab\there\nline\r\nend \\n back\\slash \"q\" 中文",
                                           "\\\t\\t", "plain"};
  answers["taobao.taobaoke.items.get"] =
      "<r><totalResults>3</totalResults>"
      "<taobaokeItem><iid>1</iid><title>tab&#9;here&#10;line&#13;&#10;end \\n back\\slash "
      "&quot;q&quot; 中文</title><nick>n&#9;ick</nick></taobaokeItem>"
      "<taobaokeItem><iid>2</iid><title><![CDATA[\\\t\\t]]></title></taobaokeItem>"
      "<taobaokeItem><iid>3</iid><title>plain</title></taobaokeItem></r>";

  ASSERT_EQ(Run({"--json", "items", "--keyword", "x"}), 0) << err.str();
  const Json rows = Json::parse(out.str());
  ASSERT_EQ(rows.size(), 3u) << out.str();
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i]["title"], titles[i]);
  EXPECT_EQ(rows[0]["nick"], "n\tick");

  ASSERT_EQ(Run({"items", "--keyword", "x"}), 0);
  std::vector<std::string> lines = Split(out.str(), '\n');
  ASSERT_EQ(lines.back(), "");  // the output ends with a line feed
  lines.pop_back();
  ASSERT_EQ(lines.size(), 3u) << out.str();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> fields = Split(lines[i], '\t');
    ASSERT_EQ(fields.size(), rows[i].size()) << lines[i];
    std::size_t column = 0;
    for (const auto& [name, value] : rows[i].items()) {
      EXPECT_EQ(TsvUnescape(fields[column++]), value.get<std::string>()) << name;
    }
  }
}

TEST_F(CliTest, JsonPrintsAnEmptyArrayForNoEntries) {
  answers["taobao.taobaoke.items.get"] = "<r><totalResults>0</totalResults></r>";
  ASSERT_EQ(Run({"--json", "items", "--keyword", "nothing"}), 0);
  EXPECT_EQ(Json::parse(out.str()), Json::array());
}

TEST_F(CliTest, FailuresExitOneWithTheReason) {
  answers["taobao.taobaoke.items.get"] =
      "<error_rsp><code>41</code><msg>Invalid arguments:page_no</msg></error_rsp>";
  EXPECT_EQ(Run({"items", "--keyword", "x"}), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(),
            "orvalen-cli: items failed: the platform refused the request (code 41) "
            "(gateway error 41: Invalid arguments:page_no)\n");
  EXPECT_EQ(err.str().find("TopSecret42"), std::string::npos);

  // A configuration that cannot be read is the failure, and nothing else;
  // in the words of a Chinese terminal where it is one.
  const std::string config = server.Url("/no-config");
  const std::vector<std::string> args{"--config", config, "cats"};
  std::ostringstream o, e, zh;
  EXPECT_EQ(RunCli(args, o, e), 1);
  EXPECT_EQ(e.str(), "orvalen-cli: cats failed: cannot read the configuration " + config +
                         ": the server answered HTTP 404 (HTTP status 404)\n");
  EXPECT_EQ(RunCli(args, o, zh, nullptr, Words::Chinese), 1);
  EXPECT_EQ(zh.str(), "orvalen-cli: cats failed: 无法读取配置文件（" + config +
                          "）：服务器应答 HTTP 404 (HTTP status 404)\n");
}

// A terminal in another character set: the keyword is read in it (and
// sent as UTF-8), TSV and reasons are written in it, '?' for what it
// lacks; JSON stays UTF-8.
TEST_F(CliTest, ArgumentsAndLinesInTheTerminalsCharacterSet) {
  const TerminalCharset gb18030("GB18030"), latin1("ISO-8859-1"), utf8("UTF-8");
  const auto run = [&](std::vector<std::string> args, const TerminalCharset& charset) {
    out.str("");
    err.str("");
    args.insert(args.begin(), {"--config", server.Url("/cfg")});
    return RunCli(args, out, err, nullptr, Words::English, charset);
  };
  ASSERT_EQ(run({"items", "--keyword", "\xCA\xD6\xBB\xFA"}, gb18030), 0) << err.str();
  EXPECT_EQ(test::ValueOf(LastQuery(), "keyword"), "%E6%89%8B%E6%9C%BA");    // 手机 in UTF-8
  EXPECT_NE(out.str().find("\xB2\xA5\xB7\xC5\xC6\xF7"), std::string::npos);  // 播放器
  ASSERT_EQ(run({"--json", "items", "--keyword", "\xCA\xD6\xBB\xFA"}, gb18030), 0);
  EXPECT_NE(out.str().find("播放器"), std::string::npos);

  ASSERT_EQ(run({"items", "--keyword", "caf\xE9"}, latin1), 0);
  EXPECT_EQ(test::ValueOf(LastQuery(), "keyword"), "%63%61%66%C3%A9");  // café
  EXPECT_NE(out.str().find("\"???\""), std::string::npos) << out.str();

  // Bytes that are no text in the set: a usage error, nothing sent.
  const std::size_t sent = server.Requests().size();
  for (const auto& [charset, bytes] : {std::pair{&gb18030, "\x81"}, std::pair{&utf8, "\xCA\xD6"}}) {
    EXPECT_EQ(run({"items", "--keyword", bytes}, *charset), 2);
    EXPECT_NE(err.str().find("argument 5 is not valid text in the locale's character set (" +
                             charset->name() + ")"),
              std::string::npos)
        << err.str();
  }
  EXPECT_EQ(server.Requests().size(), sent);
  // A reason in Chinese, on a terminal without Chinese.
  const std::vector<std::string> args{"--config", server.Url("/no-config"), "cats"};
  std::ostringstream o, e;
  EXPECT_EQ(RunCli(args, o, e, nullptr, Words::Chinese, latin1), 1);
  EXPECT_TRUE(e.str().starts_with("orvalen-cli: cats failed: ??????")) << e.str();
  // The C locale's ASCII passes UTF-8 through.
  EXPECT_TRUE(TerminalCharset("ANSI_X3.4-1968").utf8());
  EXPECT_EQ(TerminalCharset("ANSI_X3.4-1968").Encode("手机"), "手机");
}

TEST_F(CliTest, UsageErrorsExitTwo) {
  // Arguments split at '|'.
  for (const std::string line :
       {"", "nope", "users", "shop|a|b", "items|--price|10", "items|--price|a-b", "items|--page|0",
        "items|--keyword", "items|--colour|red", "cats|x", "--colour", "cats|--config", "--config",
        "--config|ftp://host/cfg|cats", "--config|http://a b/cfg|cats"}) {
    std::vector<std::string> args = Split(line, '|');
    if (line.empty()) args.clear();
    std::ostringstream o, e;
    EXPECT_EQ(RunCli(args, o, e), 2) << line;
    // One line, naming the program and pointing at --help.
    EXPECT_TRUE(e.str().starts_with("orvalen-cli: ")) << e.str();
    EXPECT_EQ(e.str().find('\n'), e.str().size() - 1) << e.str();
    EXPECT_NE(e.str().find("--help"), std::string::npos);
    EXPECT_EQ(o.str(), "");
  }
  EXPECT_TRUE(server.Requests().empty());
}

// Their text is CommandLineTest's; here, that they win over what follows.
TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
  for (const char* flag : {"--help", "--version"}) {
    std::ostringstream o, e;
    EXPECT_EQ(RunCli(std::vector<std::string>{flag, "bogus"}, o, e), 0) << flag;
    EXPECT_EQ(e.str(), "");
    EXPECT_FALSE(o.str().empty());
  }
  EXPECT_TRUE(server.Requests().empty());
}

// --config wins over ORVALEN_CONFIG_URL, which wins over the built-in address.
TEST_F(CliTest, ConfigurationFromTheFlagOrTheEnvironment) {
  std::ostringstream o, e;
  const std::string cfg = server.Url("/cfg");
  EXPECT_EQ(RunCli(std::vector<std::string>{"cats"}, o, e, cfg.c_str()), 0) << e.str();
  EXPECT_EQ(server.Requests().front().path, "/cfg");

  const std::string elsewhere = server.Url("/elsewhere");
  EXPECT_EQ(RunCli(std::vector<std::string>{"--config", cfg, "cats"}, o, e, elsewhere.c_str()), 0);
  EXPECT_EQ(RunCli(std::vector<std::string>{"cats"}, o, e, elsewhere.c_str()), 1);
  EXPECT_EQ(server.Requests().back().path, "/elsewhere");

  std::ostringstream bad;
  EXPECT_EQ(RunCli(std::vector<std::string>{"cats"}, o, bad, "no address"), 2);
  EXPECT_NE(bad.str().find("ORVALEN_CONFIG_URL"), std::string::npos) << bad.str();
}

// What the SDK's client cannot make the sandbox do: a platform that gives
// links that are not web addresses. Only web links are handed out.
TEST_F(CliTest, McpHandsOutOnlyWebLinks) {
  answers["taobao.taobaoke.items.get"] =
      "<r><totalResults>2</totalResults>"
      "<taobaokeItem><iid>1</iid><nick>a</nick><title>bad</title><price>1.00</price>"
      "<click_url>javascript:alert(1)</click_url></taobaokeItem>"
      "<taobaokeItem><iid>2</iid><nick>a</nick><title>ok</title><price>2.00</price>"
      "<click_url>http://s.click/2</click_url><pic_url>file:///etc/passwd</pic_url>"
      "</taobaokeItem></r>";
  answers["taobao.taobaoke.shops.convert"] =
      "<r><taobaokeShop><click_url>file:///etc/passwd</click_url></taobaokeShop></r>";
  std::istringstream in(
      R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"search_items","arguments":{"keyword":"x"}}})"
      "\n"
      R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"seller_shop_link","arguments":{"nick":"a"}}})"
      "\n");
  std::vector<std::string> args = {"--config", server.Url("/cfg"), "mcp"};
  ASSERT_EQ(RunCli(args, out, err, nullptr, Words::English, TerminalCharset("UTF-8"), &in), 0);
  std::istringstream lines(out.str());
  std::string line;
  std::vector<Json> replies;
  while (std::getline(lines, line)) replies.push_back(Json::parse(line));
  ASSERT_EQ(replies.size(), 2u) << out.str();
  const Json& items = replies[0]["result"]["structuredContent"]["items"];
  ASSERT_EQ(items.size(), 1u) << replies[0].dump();
  EXPECT_EQ(items[0]["click_url"], "http://s.click/2");
  EXPECT_EQ(items[0]["pic_url"], "");
  EXPECT_EQ(items[0]["seller_credit"]["grade"], "1钻");
  EXPECT_EQ(replies[1]["result"]["isError"], true);
  EXPECT_EQ(replies[1]["result"]["content"][0]["text"],
            "the link the platform gave is not a web address");
}

// A cancellation that comes before the call has armed its slot aborts the
// call as soon as it does.
TEST(CancelSlotTest, ACancelBeforeTheCallArmsAbortsItAtOnce) {
  CancelSlot slot;
  int aborted = 0;
  slot.Cancel();
  {
    const CancelSlot::Armed armed(slot, [&] { ++aborted; });
    EXPECT_EQ(aborted, 1);
  }
  slot.Cancel();  // disarmed: nothing left to abort
  EXPECT_EQ(aborted, 1);
  slot.Reset();
  const CancelSlot::Armed armed(slot, [&] { ++aborted; });
  EXPECT_EQ(aborted, 1);
}

}  // namespace
}  // namespace orvalen
