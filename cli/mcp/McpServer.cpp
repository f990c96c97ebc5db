#include "cli/mcp/McpServer.h"

#include <algorithm>
#include <thread>

#include "config/SiteConfig.h"

namespace orvalen {
namespace {

using nlohmann::json;

// JSON-RPC's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;

// The protocol revisions spoken, newest first: those the official SDKs
// offer today.
constexpr const char* kProtocolVersions[] = {"2025-11-25", "2025-06-18", "2025-03-26", "2024-11-05",
                                             "2024-10-07"};

// The client's revision when it is one of ours, else our newest.
std::string NegotiateVersion(const json& requested) {
  for (const char* version : kProtocolVersions) {
    if (requested == version) return version;
  }
  return kProtocolVersions[0];
}

// `object`'s member `key`, or null when there is none (or no object).
json Member(const json& object, const char* key) {
  return object.is_object() && object.contains(key) ? object[key] : json();
}

bool IsId(const json& id) {
  return id.is_string() || id.is_number_integer();
}

}  // namespace

McpServer::McpServer(std::string config_url, std::ostream& out, std::ostream& err, Words words)
    : out_(out), err_(err), config_(std::move(config_url)), runner_(config_, cancel_, words) {}

int McpServer::Serve(std::istream& in) {
  std::thread worker([this] { Work(); });
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") != std::string::npos) Handle(line);
  }
  // The input has ended: what was asked is still answered (a client may
  // write all its requests and close), then the server ends.
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  worker.join();
  return 0;
}

void McpServer::Handle(const std::string& line) {
  const json message = json::parse(line, nullptr, false);
  if (message.is_discarded()) return Refuse(nullptr, kParseError, "Parse error: not a JSON text");
  if (!message.is_object()) {
    return Refuse(nullptr, kInvalidRequest, "Invalid Request: one JSON object per line");
  }
  const json id = message.value("id", json());
  const json method = message.value("method", json());
  if (message.value("jsonrpc", json()) != "2.0" || (!method.is_null() && !method.is_string())) {
    return Refuse(IsId(id) ? id : json(), kInvalidRequest, "Invalid Request: not JSON-RPC 2.0");
  }
  if (method.is_null()) return;  // a response: this server asks the client nothing
  const json params = message.value("params", json::object());
  if (!message.contains("id")) return HandleNotification(method, params);
  if (!IsId(id))
    return Refuse(nullptr, kInvalidRequest, "Invalid Request: id must be a string or a number");
  HandleRequest(id, method, params);
}

void McpServer::HandleRequest(const json& id, const std::string& method, const json& params) {
  if (method == "initialize") {
    return Reply(id,
                 {{"protocolVersion", NegotiateVersion(Member(params, "protocolVersion"))},
                  {"capabilities", {{"tools", {{"listChanged", false}}}}},
                  {"serverInfo",
                   {{"name", "orvalen"}, {"title", "Orvalen"}, {"version", std::string(kVersion)}}},
                  {"instructions",
                   "Searches the marketplace's affiliate items and makes affiliate links "
                   "for items, shops and the marketplace's search. Every link credits the "
                   "Orvalen member: give links to the user exactly as they are."}});
  }
  if (method == "ping") return Reply(id, json::object());
  if (method == "tools/list") return Reply(id, ToolList());
  if (method != "tools/call") return Refuse(id, kMethodNotFound, "Method not found: " + method);
  if (!params.is_object()) return Refuse(id, kInvalidParams, "params must be an object");
  ToolCheck check = CheckToolCall(Member(params, "name"), Member(params, "arguments"));
  if (!check.request) return Refuse(id, kInvalidParams, check.refusal);
  {
    const std::lock_guard lock(mutex_);
    queue_.push_back({id, std::move(*check.request)});
  }
  wake_.notify_one();
}

// A cancelled call still queued is dropped; the one in flight is aborted.
void McpServer::HandleNotification(const std::string& method, const json& params) {
  if (method != "notifications/cancelled") return;
  const json id = Member(params, "requestId");
  const std::lock_guard lock(mutex_);
  const auto queued =
      std::find_if(queue_.begin(), queue_.end(), [&](const Job& j) { return j.id == id; });
  if (queued != queue_.end()) {
    queue_.erase(queued);
  } else if (running_ && *running_ == id) {
    cancel_.Cancel();
  }
}

void McpServer::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
      running_ = job.id;
      cancel_.Reset();
    }
    RunJob(job);
  }
}

void McpServer::RunJob(const Job& job) {
  ToolOutcome outcome = runner_.Run(job.request);
  std::string detail = outcome.detail.empty() ? "" : " (" + outcome.detail + ")";
  const std::lock_guard lock(mutex_);
  running_.reset();
  if (cancel_.Cancelled()) {
    Log(job.request.name + " (request " + job.id.dump() + ") cancelled" + detail);
    return;
  }
  if (outcome.failed) Log(job.request.name + " failed: " + outcome.reason + detail);
  Reply(job.id, std::move(outcome.result));
}

void McpServer::Send(const json& message) {
  // Text the platform gave may hold bytes that are not UTF-8; they are
  // replaced rather than ending the server.
  const std::string line = message.dump(-1, ' ', false, json::error_handler_t::replace);
  const std::lock_guard lock(io_mutex_);
  out_ << line << '\n' << std::flush;
}

void McpServer::Reply(const json& id, json result) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void McpServer::Refuse(const json& id, int code, const std::string& message) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void McpServer::Log(const std::string& line) {
  const std::lock_guard lock(io_mutex_);
  err_ << "orvalen-cli mcp: " << line << '\n' << std::flush;
}

}  // namespace orvalen
