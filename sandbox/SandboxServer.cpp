#include "sandbox/SandboxServer.h"

#include <regex>

#include "config/SiteConfig.h"
#include "sandbox/AnswerSupport.h"
#include "sandbox/ConfigDocument.h"
#include "sandbox/Gateway.h"
#include "sandbox/GatewayRequest.h"
#include "sandbox/HttpServer.h"
#include "sandbox/Images.h"
#include "sandbox/LandingPages.h"
#include "sandbox/RequestOrigin.h"

namespace orvalen::sandbox {
namespace {

constexpr const char* kXml = "text/xml; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kGif = "image/gif";
constexpr const char* kGatewayPath = "/router/rest";

std::string Redact(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at)) {
    text.replace(at, secret.size(), "***");
  }
  return text;
}

HttpReply NotFound() {
  return HttpReply::Text(404, "text/plain", "not found\n");
}

// Pictures and badges never change.
HttpReply Picture(std::string gif) {
  HttpReply reply = HttpReply::Text(200, kGif, std::move(gif));
  reply.headers.emplace_back("Cache-Control", "max-age=86400");
  return reply;
}

HttpReply Page(const Landing& landing) {
  return HttpReply::Text(landing.status, kHtml, landing.html);
}

}  // namespace

// The server goes first: nothing it runs may outlive what it serves.
struct SandboxServer::Impl {
  std::unique_ptr<Gateway> gateway;
  std::unique_ptr<HttpServer> http;
};

SandboxServer::SandboxServer(SandboxOptions options)
    : options_(std::move(options)),
      catalogue_(Catalogue::Generate(options_.seed, options_.items)),
      impl_(std::make_unique<Impl>()) {
  impl_->http = std::make_unique<HttpServer>(
      options_.limits, [this](const HttpRequest& req) { return Serve(req); },
      [this](const std::string& line) { Log(line); }, [this] { return Now(); });
}

std::chrono::system_clock::time_point SandboxServer::Now() const {
  return options_.clock() + ClockOffset(options_.faults);
}

SandboxServer::~SandboxServer() {
  Stop();
}

std::string SandboxServer::listen_url() const {
  return "http://" + UrlHost(options_.host) + ":" + std::to_string(port_);
}

std::string SandboxServer::base_url() const {
  const std::string host = options_.host == "0.0.0.0" ? "127.0.0.1"
                           : options_.host == "::"    ? "::1"
                                                      : options_.host;
  return "http://" + UrlHost(host) + ":" + std::to_string(port_);
}

std::string SandboxServer::config_url() const {
  return base_url() + "/" + std::string(kConfigPath);
}

std::string SandboxServer::gateway_url() const {
  return base_url() + kGatewayPath;
}

bool SandboxServer::Bind() {
  port_ = impl_->http->Bind(options_.host, options_.port);
  if (port_ <= 0) return false;
  impl_->gateway = std::make_unique<Gateway>(
      catalogue_, GatewayOptions{options_.app_key, options_.app_secret, [this] { return Now(); }});
  return true;
}

void SandboxServer::Run() {
  impl_->http->Run();
}

bool SandboxServer::IsRunning() const {
  return impl_->http->IsRunning();
}

void SandboxServer::Stop() {
  if (impl_) impl_->http->Stop();
}

std::size_t SandboxServer::connections() const {
  return impl_->http->Connections();
}

void SandboxServer::Log(const std::string& line) {
  if (!options_.log) return;
  const std::lock_guard lock(log_mutex_);
  options_.log(Redact(line, options_.app_secret));
}

HttpReply SandboxServer::Serve(const HttpRequest& req) {
  const bool get = req.method == "GET";
  if (req.path == kGatewayPath && (get || req.method == "POST")) return ServeGateway(req);
  if (!get) return NotFound();
  if (req.path.starts_with('/') && std::string_view(req.path).substr(1) == kConfigPath) {
    return ServeConfig(req);
  }
  const std::string origin = OriginOf(req);
  if (req.path == "/") {
    return HttpReply::Text(
        200, kHtml, IndexPage(origin + "/" + std::string(kConfigPath), origin + kGatewayPath));
  }
  Params query;
  ParseForm(req.query, query);
  if (req.path == "/click") return Landed(ItemLanding(catalogue_, query));
  if (req.path == "/shop") return Landed(ShopLanding(catalogue_, query));
  if (req.path == "/list") return Landed(ListLanding(query));
  return ServeImage(req.path);
}

HttpReply SandboxServer::ServeGateway(const HttpRequest& req) {
  const GatewayRequest request{req.query, req.body, req.content_type};
  const GatewayAnswer answer = impl_->gateway->Handle(request, OriginOf(req));
  if (!options_.faults.empty()) {
    const Params params = ReadParams(request).params;
    const std::string method = Param(params, "method");
    if (const Fault* f = FindFault(options_.faults, method)) {
      // Said when the spoiled answer starts: a stalled one never ends.
      const std::string kind = f->kind == "error" ? "error-" + std::to_string(f->code) : f->kind;
      Log("fault " + kind + " on " + method);
      return ApplyFault(*f, answer.body, OriginOf(req) + "/moved");
    }
  }
  HttpReply reply = HttpReply::Text(200, answer.content_type, answer.body);
  reply.outcome = answer.outcome;
  return reply;
}

HttpReply SandboxServer::ServeConfig(const HttpRequest& req) {
  const std::string origin = OriginOf(req);
  const std::string document =
      ConfigDocument(options_.app_key, options_.app_secret, origin + kGatewayPath);
  const Fault* f = FindFault(options_.faults, "config");
  if (f == nullptr) return HttpReply::Text(200, kXml, document);
  return ApplyFault(*f, SpoilConfig(*f, document, options_.app_key, options_.app_secret),
                    origin + "/moved");
}

HttpReply SandboxServer::Landed(const Landing& landing) {
  Log(landing.log);
  return Page(landing);
}

HttpReply SandboxServer::ServeImage(const std::string& path) {
  static const std::regex kPicture(R"(/pic/(\d+)\.gif)");
  static const std::regex kBadge(R"(/newrank/([a-z_0-9]+\.gif))");
  std::smatch m;
  if (std::regex_match(path, m, kPicture)) {
    const auto iid = ParseNumber(m[1].str());
    const Item* item = iid ? catalogue_.FindItem(*iid) : nullptr;
    if (item == nullptr) return NotFound();
    return Picture(ItemPictureGif(*item, *catalogue_.FindCategory(item->cid)));
  }
  if (std::regex_match(path, m, kBadge)) {
    const auto level = BadgeLevel(m[1].str());
    return level ? Picture(BadgeGif(*level)) : NotFound();
  }
  return NotFound();
}

}  // namespace orvalen::sandbox
