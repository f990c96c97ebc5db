// McpServer: orvalen-cli's Model Context Protocol server over a stream
// pair (the stdio transport): JSON-RPC 2.0 messages, one per line.
// initialize (version negotiation), ping and tools/list are answered on the
// reading thread at once; tools/call runs on a worker thread, one at a time
// in the order asked, so that notifications/cancelled can abort the call
// in flight (a cancelled call gets no answer). When the input ends, the
// calls asked are answered, then Serve returns. Only protocol messages go
// to `out`; diagnostics go to `err`.
//
//   McpServer server(config_url, std::cout, std::cerr, Words::English);
//   return server.Serve(std::cin);   // 0 once the input has ended
#pragma once

#include <condition_variable>
#include <deque>
#include <istream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/mcp/ToolRunner.h"

namespace orvalen {

class McpServer {
 public:
  McpServer(std::string config_url, std::ostream& out, std::ostream& err, Words words);

  int Serve(std::istream& in);

 private:
  struct Job {
    nlohmann::json id;
    ToolRequest request;
  };

  void Handle(const std::string& line);
  void HandleRequest(const nlohmann::json& id, const std::string& method,
                     const nlohmann::json& params);
  void HandleNotification(const std::string& method, const nlohmann::json& params);
  void Work();
  void RunJob(const Job& job);
  void Send(const nlohmann::json& message);
  void Reply(const nlohmann::json& id, nlohmann::json result);
  void Refuse(const nlohmann::json& id, int code, const std::string& message);
  void Log(const std::string& line);

  std::ostream& out_;
  std::ostream& err_;
  std::mutex io_mutex_;
  ConfigSession config_;
  CancelSlot cancel_;
  ToolRunner runner_;

  std::mutex mutex_;  // guards what follows
  std::condition_variable wake_;
  std::deque<Job> queue_;
  std::optional<nlohmann::json> running_;  // the id of the call in flight
  bool closing_ = false;
};

}  // namespace orvalen
