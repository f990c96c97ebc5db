#include "sandbox/Faults.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "sandbox/AnswerWriter.h"

namespace orvalen::sandbox {
namespace {

constexpr const char* kXml = "text/xml; charset=utf-8";

// Sleeps up to `d` in small steps; false once the server is stopping.
bool Wait(std::chrono::milliseconds d, const std::atomic<bool>& stopping) {
  const auto until = std::chrono::steady_clock::now() + d;
  while (std::chrono::steady_clock::now() < until) {
    if (stopping) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return !stopping;
}

std::string Bomb() {
  std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE rsp [<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
  for (char c = 'b'; c <= 'p'; ++c) {
    xml += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 16; ++i) xml += std::string("&") + static_cast<char>(c - 1) + ";";
    xml += "\">";
  }
  return xml + "]><rsp><totalResults>&p;</totalResults><item_cat>&p;</item_cat></rsp>";
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
      const std::size_t at = document.find("<" + std::string(g) + ">", pos);
      if (at >= open) continue;
      const std::size_t close = document.find("</" + std::string(g) + ">", at);
      if (close == std::string::npos) continue;
      open = at;
      end = close + g.size() + 3;
      group = g;
    }
    if (open == std::string::npos) break;
    out.append(document, pos, open - pos);
    out += "<" + std::string(group) + "/>";
    pos = end;
  }
  out.append(document, std::min(pos, document.size()), std::string::npos);
  return out;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
  Fault f;
  const std::size_t colon = text.find(':');
  f.kind = std::string(text.substr(0, colon));
  if (colon != std::string_view::npos) f.target = std::string(text.substr(colon + 1));
  if (f.kind.starts_with("error-")) {
    try {
      f.code = std::stoi(f.kind.substr(6));
    } catch (const std::exception&) {
      return std::nullopt;
    }
    f.kind = "error";
  }
  static const char* kKinds[] = {"stall",   "drip", "close", "http500",  "redirect", "malformed",
                                 "endless", "bomb", "error", "sections", "leaves",   "slow"};
  for (const char* k : kKinds) {
    if (f.kind == k) return f;
  }
  return std::nullopt;
}

const Fault* FindFault(const std::vector<Fault>& faults, std::string_view target) {
  for (const Fault& f : faults) {
    const bool config_only = f.kind == "sections" || f.kind == "leaves" || f.kind == "slow";
    if (f.target == target || (f.target.empty() && target != "config" && !config_only)) return &f;
  }
  return nullptr;
}

void ApplyFault(const Fault& fault, const std::string& body, const std::string& redirect_to,
                const std::atomic<bool>& stopping, httplib::Response& res) {
  const std::string half = body.substr(0, body.size() / 2);
  if (fault.kind == "http500") {
    res.status = 500;
    res.set_content(body, kXml);
  } else if (fault.kind == "redirect") {
    res.set_redirect(redirect_to);
  } else if (fault.kind == "malformed") {
    res.set_content(half, kXml);
  } else if (fault.kind == "bomb") {
    res.set_content(Bomb(), kXml);
  } else if (fault.kind == "error") {
    res.set_content(RefusalText(AnswerStyle::V1Xml, fault.code, "Sandbox fault"), kXml);
  } else if (fault.kind == "slow") {
    Wait(std::chrono::seconds(5), stopping);
    res.set_content(body, kXml);
  } else if (fault.kind == "stall" || fault.kind == "close") {
    const bool stall = fault.kind == "stall";
    res.set_chunked_content_provider(kXml,
                                     [=, &stopping](std::size_t offset, httplib::DataSink& sink) {
                                       if (offset == 0) return sink.write(half.data(), half.size());
                                       if (stall) Wait(std::chrono::minutes(10), stopping);
                                       return false;  // the connection closes without the rest
                                     });
  } else if (fault.kind == "drip") {
    res.set_chunked_content_provider(
        kXml, [=, &stopping](std::size_t offset, httplib::DataSink& sink) {
          if (offset >= body.size() || !Wait(std::chrono::seconds(3), stopping)) return false;
          return sink.write(body.data() + offset, 1);
        });
  } else if (fault.kind == "endless") {
    res.set_chunked_content_provider(
        kXml, [&stopping](std::size_t offset, httplib::DataSink& sink) {
          static const std::string kChunk(4096, ' ');
          if (stopping) return false;
          return offset == 0 ? sink.write("<rsp>", 5) : sink.write(kChunk.data(), kChunk.size());
        });
  } else {
    res.set_content(body, kXml);
  }
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
