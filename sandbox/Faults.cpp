#include "sandbox/Faults.h"

#include <algorithm>
#include <chrono>
#include <tuple>

#include "sandbox/AnswerWriter.h"
#include "sandbox/LinkShapes.h"

namespace orvalen::sandbox {
namespace {

constexpr const char* kXml = "text/xml; charset=utf-8";

std::string Bomb() {
  std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE rsp [<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
  for (char c = 'b'; c <= 'p'; ++c) {
    xml += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 16; ++i) xml += std::string("&") + static_cast<char>(c - 1) + ";";
    xml += "\">";
  }
  return xml + "]><rsp><totalResults>&p;</totalResults><item_cat>&p;</item_cat></rsp>";
}

// "<" + name + ">" and the like, appended rather than added: GCC 12 warns
// (-Wrestrict, a false positive, GCC bug 105329) on operator+ here.
std::string Tag(std::string_view open, std::string_view name, std::string_view close) {
  std::string tag(open);
  tag.append(name).append(close);
  return tag;
}

// Every <cond>, <back>, <name> and <xmlname> element of the document
// emptied, whatever it held.
std::string EmptyGroups(const std::string& document) {
  std::string out;
  std::size_t pos = 0;
  while (pos < document.size()) {
    std::size_t open = std::string::npos, end = std::string::npos;
    std::string_view group;
    for (std::string_view g : {"cond", "back", "name", "xmlname"}) {
      const std::size_t at = document.find(Tag("<", g, ">"), pos);
      if (at >= open) continue;
      const std::size_t close = document.find(Tag("</", g, ">"), at);
      if (close == std::string::npos) continue;
      open = at;
      end = close + g.size() + 3;
      group = g;
    }
    if (open == std::string::npos) break;
    out.append(document, pos, open - pos);
    out += Tag("<", group, "/>");
    pos = end;
  }
  out.append(document, std::min(pos, document.size()), std::string::npos);
  return out;
}

// The number after `prefix` in `kind` ("error-41", "clock+3600"), with its
// sign for a clock; none when it is not all digits.
std::optional<int> NumberAfter(const std::string& kind, std::size_t prefix, bool signed_number) {
  std::string digits = kind.substr(prefix);
  int sign = 1;
  if (signed_number) {
    if (digits.empty() || (digits.front() != '+' && digits.front() != '-')) return std::nullopt;
    sign = digits.front() == '-' ? -1 : 1;
    digits.erase(0, 1);
  }
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return sign * std::stoi(digits);
}

constexpr const char* kLoginPage =
    "<!DOCTYPE html><html><head><title>Wi-Fi</title></head><body><h1>Welcome</h1>"
    "<p>Please sign in to use this network.</p><form method=\"post\" action=\"/login\">"
    "<input name=\"room\"><button>Sign in</button></form></body></html>";
constexpr const char* kBadGatewayPage =
    "<html><head><title>502 Bad Gateway</title></head><body><h1>Bad Gateway</h1>"
    "<p>The proxy server received an invalid response from an upstream server.</p></body></html>";

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
  Fault f;
  const std::size_t colon = text.find(':');
  f.kind = std::string(text.substr(0, colon));
  if (colon != std::string_view::npos) f.target = std::string(text.substr(colon + 1));
  for (const auto& [prefix, kind, is_signed] :
       {std::tuple{"error-", "error", false}, std::tuple{"clock", "clock", true}}) {
    if (!f.kind.starts_with(prefix)) continue;
    const std::optional<int> n = NumberAfter(f.kind, std::string_view(prefix).size(), is_signed);
    if (!n || (is_signed && !f.target.empty())) return std::nullopt;
    f.code = *n;
    f.kind = kind;
  }
  static const char* kKinds[] = {"stall",   "drip",     "close",  "reset", "http500",
                                 "http502", "redirect", "portal", "gzip",  "malformed",
                                 "endless", "bomb",     "error",  "clock", "sections",
                                 "leaves",  "slow",     "shapes"};
  for (const char* k : kKinds) {
    if (f.kind == k) return f;
  }
  return std::nullopt;
}

const Fault* FindFault(const std::vector<Fault>& faults, std::string_view target) {
  for (const Fault& f : faults) {
    if (f.kind == "clock") continue;
    const bool config_only = f.kind == "sections" || f.kind == "leaves" || f.kind == "slow";
    if (f.target == target || (f.target.empty() && target != "config" && !config_only)) return &f;
  }
  return nullptr;
}

std::chrono::seconds ClockOffset(const std::vector<Fault>& faults) {
  std::chrono::seconds offset{0};
  for (const Fault& f : faults) {
    if (f.kind == "clock") offset += std::chrono::seconds(f.code);
  }
  return offset;
}

HttpReply ApplyFault(const Fault& fault, const std::string& body, const std::string& redirect_to) {
  using std::chrono::milliseconds;
  const std::string half = body.substr(0, body.size() / 2);
  HttpReply reply = HttpReply::Text(200, kXml, body);
  if (fault.kind == "http500") {
    reply.status = 500;
  } else if (fault.kind == "http502") {
    reply = HttpReply::Text(502, "text/html; charset=utf-8", kBadGatewayPage);
  } else if (fault.kind == "portal") {
    reply = HttpReply::Text(200, "text/html; charset=utf-8", kLoginPage);
  } else if (fault.kind == "gzip") {
    reply.compress_unasked = true;
  } else if (fault.kind == "redirect") {
    reply = HttpReply::Text(302, "text/plain", "");
    reply.headers.emplace_back("Location", redirect_to);
  } else if (fault.kind == "malformed") {
    reply.body = half;
  } else if (fault.kind == "bomb") {
    reply.body = Bomb();
  } else if (fault.kind == "error") {
    reply.body = RefusalText(AnswerStyle::V1Xml, fault.code, "Sandbox fault");
  } else if (fault.kind == "shapes") {
    reply.body = ShapeClickUrls(body);
  } else if (fault.kind == "slow") {
    reply.delay = std::chrono::seconds(5);
  } else if (fault.kind == "stall" || fault.kind == "close" || fault.kind == "reset") {
    // Half the answer, then silence (for ten minutes), or the connection
    // closes or is reset.
    const milliseconds silence = fault.kind == "stall" ? std::chrono::minutes(10) : milliseconds(0);
    const bool reset = fault.kind == "reset";
    reply.pieces = [half, silence, reset](std::size_t n) -> std::optional<HttpPiece> {
      if (n == 0) return HttpPiece{milliseconds(0), half, silence.count() == 0, reset};
      return HttpPiece{silence, "", true};
    };
  } else if (fault.kind == "drip") {
    reply.pieces = [body](std::size_t n) -> std::optional<HttpPiece> {
      if (n >= body.size()) return std::nullopt;
      return HttpPiece{std::chrono::seconds(3), body.substr(n, 1)};
    };
  } else if (fault.kind == "endless") {
    reply.pieces = [](std::size_t n) -> std::optional<HttpPiece> {
      return HttpPiece{milliseconds(0), n == 0 ? "<rsp>" : std::string(4096, ' ')};
    };
  }
  return reply;
}

std::string SpoilConfig(const Fault& fault, const std::string& document, const std::string& app_key,
                        const std::string& app_secret) {
  if (fault.kind == "sections") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><api><app_key>" + app_key +
           "</app_key><app_sec>" + app_secret + "</app_sec></api></config>";
  }
  if (fault.kind == "leaves") return EmptyGroups(document);
  return document;
}

}  // namespace orvalen::sandbox
