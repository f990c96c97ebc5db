#include "sandbox/SandboxServer.h"

#include <httplib.h>

#include "config/SiteConfig.h"
#include "sandbox/AnswerSupport.h"
#include "sandbox/ConfigDocument.h"
#include "sandbox/Gateway.h"
#include "sandbox/Images.h"
#include "sandbox/LandingPages.h"

namespace orvalen::sandbox {
namespace {

constexpr std::size_t kThreads = 64;

// The gateway names its outcome in this header: "ok" or the refusal's code.
constexpr const char* kOutcomeHeader = "X-Sandbox-Outcome";

// The gateway's outcome for its answers, "ok" or the status otherwise.
std::string Outcome(const httplib::Response& res) {
  if (res.status == 200 && res.has_header(kOutcomeHeader)) {
    return res.get_header_value(kOutcomeHeader);
  }
  return res.status == 200 ? "ok" : std::to_string(res.status);
}

// The part of a request target after "?".
std::string_view QueryOf(const std::string& target) {
  const std::size_t mark = target.find('?');
  return mark == std::string::npos ? std::string_view() : std::string_view(target).substr(mark + 1);
}

std::string Redact(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at)) {
    text.replace(at, secret.size(), "***");
  }
  return text;
}

}  // namespace

struct SandboxServer::Impl {
  httplib::Server http;
  std::unique_ptr<Gateway> gateway;
  std::string config_document;
};

SandboxServer::SandboxServer(SandboxOptions options)
    : options_(std::move(options)),
      catalogue_(Catalogue::Generate(options_.seed, options_.items)),
      impl_(std::make_unique<Impl>()) {}

SandboxServer::~SandboxServer() {
  Stop();
}

std::string SandboxServer::base_url() const {
  const std::string host = options_.host == "0.0.0.0" ? "127.0.0.1" : options_.host;
  return "http://" + host + ":" + std::to_string(port_);
}

std::string SandboxServer::config_url() const {
  return base_url() + "/" + std::string(kConfigPath);
}

std::string SandboxServer::gateway_url() const {
  return base_url() + "/router/rest";
}

bool SandboxServer::Bind() {
  httplib::Server& http = impl_->http;
  http.set_tcp_nodelay(true);
  http.set_keep_alive_max_count(1000);
  // Each kept-alive connection holds a thread until it closes: a browser's
  // six connections and the program's own would otherwise starve a small pool.
  http.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  port_ = options_.port == 0
              ? http.bind_to_any_port(options_.host)
              : (http.bind_to_port(options_.host, options_.port) ? options_.port : -1);
  if (port_ <= 0) return false;
  impl_->gateway = std::make_unique<Gateway>(
      catalogue_,
      GatewayOptions{options_.app_key, options_.app_secret, base_url(), options_.clock});
  impl_->config_document = ConfigDocument(options_.app_key, options_.app_secret, gateway_url());
  Route();
  return true;
}

void SandboxServer::Run() {
  impl_->http.listen_after_bind();
}

bool SandboxServer::IsRunning() const {
  return impl_->http.is_running();
}

void SandboxServer::Stop() {
  stopping_ = true;
  if (impl_) impl_->http.stop();
}

void SandboxServer::Log(const std::string& line) {
  if (!options_.log) return;
  const std::lock_guard lock(log_mutex_);
  options_.log(Redact(line, options_.app_secret));
}

void SandboxServer::Route() {
  httplib::Server& http = impl_->http;
  constexpr const char* kXml = "text/xml; charset=utf-8";
  constexpr const char* kHtml = "text/html; charset=utf-8";

  const auto gateway = [this](const httplib::Request& req, httplib::Response& res) {
    const GatewayAnswer answer = impl_->gateway->Handle(
        GatewayRequest{QueryOf(req.target), req.body, req.get_header_value("Content-Type")});
    if (const Fault* f = FindFault(options_.faults, req.get_param_value("method"))) {
      ApplyFault(*f, answer.body, base_url() + "/moved", stopping_, res);
    } else {
      res.set_header(kOutcomeHeader, answer.outcome);
      res.set_content(answer.body, answer.content_type);
    }
  };
  http.Get("/router/rest", gateway);
  http.Post("/router/rest", gateway);
  http.Get("/" + std::string(kConfigPath), [this, kXml](const auto&, httplib::Response& res) {
    if (const Fault* f = FindFault(options_.faults, "config")) {
      const std::string document =
          SpoilConfig(*f, impl_->config_document, options_.app_key, options_.app_secret);
      ApplyFault(*f, document, base_url() + "/moved", stopping_, res);
    } else {
      res.set_content(impl_->config_document, kXml);
    }
  });
  http.Get("/", [this, kHtml](const auto&, httplib::Response& res) {
    res.set_content(IndexPage(config_url(), gateway_url()), kHtml);
  });
  http.Get(R"(/pic/(\d+)\.gif)", [this](const httplib::Request& req, httplib::Response& res) {
    const auto iid = ParseNumber(req.matches[1].str());
    const Item* item = iid ? catalogue_.FindItem(*iid) : nullptr;
    if (item == nullptr) {
      res.status = 404;
      return;
    }
    res.set_header("Cache-Control", "max-age=86400");  // pictures never change
    res.set_content(ItemPictureGif(*item, *catalogue_.FindCategory(item->cid)), "image/gif");
  });
  http.Get(R"(/newrank/([a-z_0-9]+\.gif))",
           [](const httplib::Request& req, httplib::Response& res) {
             const auto level = BadgeLevel(req.matches[1].str());
             if (!level) {
               res.status = 404;
               return;
             }
             res.set_header("Cache-Control", "max-age=86400");
             res.set_content(BadgeGif(*level), "image/gif");
           });
  const auto landing = [this, kHtml](httplib::Response& res, const Landing& page) {
    res.status = page.status;
    res.set_content(page.html, kHtml);
    Log(page.log);
  };
  http.Get("/click", [this, landing](const httplib::Request& req, httplib::Response& res) {
    landing(res, ItemLanding(catalogue_, req.params));
  });
  http.Get("/shop", [this, landing](const httplib::Request& req, httplib::Response& res) {
    landing(res, ShopLanding(catalogue_, req.params));
  });
  http.Get("/list", [landing](const httplib::Request& req, httplib::Response& res) {
    landing(res, ListLanding(req.params));
  });
  http.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    Log(req.method + " " + req.target + " " + Outcome(res));
  });
}

}  // namespace orvalen::sandbox
