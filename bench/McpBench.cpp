// An item search through a running `orvalen-cli mcp` (a tools/call over its
// pipes, answered as JSON) against the same search made in process, both on
// one sandbox (20,000 items, in this process) in one run:
//
//   BM_ItemSearch_InProcess/tool:0  the item-search call alone (PlatformCall)
//   BM_ItemSearch_InProcess/tool:1  what search_items makes: the item search
//                                   and its sellers' credit, as JSON
//   BM_ItemSearch_ThroughMcp        the same tool, asked of the server (the
//                                   configuration read before timing starts)
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/ConfigSession.h"
#include "cli/mcp/ToolRunner.h"
#include "openapi/TaobaokeItem.h"
#include "support/SandboxRunner.h"

namespace orvalen {
namespace {

test::SandboxRunner& Sandbox() {
  static test::SandboxRunner sandbox(20000);
  return sandbox;
}

ItemOptions Query() {
  ItemOptions q;
  q.keyword = "手机";
  q.sort = "price_asc";
  q.page_no = "2";
  return q;
}

// orvalen-cli mcp with a pipe to its standard input and one from its output.
class McpPipe {
 public:
  explicit McpPipe(const std::string& config_url) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
      execl(ORVALEN_CLI_PATH, "orvalen-cli", "--config", config_url.c_str(), "mcp", nullptr);
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_.reset(fdopen(in[1], "w"));
    from_.reset(fdopen(out[0], "r"));
  }
  ~McpPipe() {
    to_.reset();  // end of input: the server ends
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  // Writes one message and reads the server's next line.
  std::string Ask(const std::string& message) {
    std::fputs((message + "\n").c_str(), to_.get());
    std::fflush(to_.get());
    char* text = nullptr;
    std::size_t size = 0;
    const ssize_t length = getline(&text, &size, from_.get());
    std::string line = length > 0 ? std::string(text, static_cast<std::size_t>(length)) : "";
    std::free(text);
    return line;
  }

 private:
  struct Close {
    void operator()(FILE* f) const { std::fclose(f); }
  };
  pid_t pid_ = -1;
  std::unique_ptr<FILE, Close> to_, from_;
};

void BM_ItemSearch_InProcess(benchmark::State& state) {
  ConfigSession config(Sandbox().server().config_url());
  CancelSlot cancel;
  ToolRunner runner(config, cancel, Words::English);
  if (config.Ensure()) return state.SkipWithError("no configuration");
  const ItemOptions q = Query();
  const ToolRequest request{Tool::SearchItems, "search_items", q, {}};
  for (auto _ : state) {
    if (state.range(0) == 0) {
      TTaobaokeItem items;
      const auto found = PlatformCall(config.data(), config.keys(), items,
                                      [&](TaobaokeItemConditions& c) { SetItemOptions(q, c); });
      if (!found) state.SkipWithError("search failed");
    } else if (runner.Run(request).failed) {
      state.SkipWithError("search failed");
    }
  }
}
BENCHMARK(BM_ItemSearch_InProcess)->ArgName("tool")->Arg(0)->Arg(1)->UseRealTime();

void BM_ItemSearch_ThroughMcp(benchmark::State& state) {
  McpPipe server(Sandbox().server().config_url());
  server.Ask(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"protocolVersion":)"
             R"("2025-11-25","capabilities":{},"clientInfo":{"name":"bench","version":"1"}}})");
  const std::string call =
      R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"search_items",)"
      R"("arguments":{"keyword":"手机","sort":"price_asc","page":2}}})";
  server.Ask(call);
  for (auto _ : state) {
    if (server.Ask(call).find("\"structuredContent\"") == std::string::npos) {
      state.SkipWithError("search failed");
    }
  }
}
BENCHMARK(BM_ItemSearch_ThroughMcp)->UseRealTime();

}  // namespace
}  // namespace orvalen
