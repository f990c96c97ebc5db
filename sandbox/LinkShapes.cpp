#include "sandbox/LinkShapes.h"

#include <string_view>

#include "platform/MarkupEscape.h"

namespace orvalen::sandbox {
namespace {

// The five predefined entities and character references the sandbox's own
// writer uses, undone.
std::string UnescapeText(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'},  {"&lt;", '<'},    {"&gt;", '>'},
      {"&quot;", '"'}, {"&apos;", '\''}, {"&#13;", '\r'}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, ch] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out += ch;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

struct Parts {
  std::string host, port, path, query;
};

Parts Split(const std::string& url) {
  Parts p;
  const std::size_t authority = url.find("://") + 3;
  const std::size_t path = url.find('/', authority);
  const std::string host_port = url.substr(authority, path - authority);
  const std::size_t colon = host_port.rfind(':');
  p.host = host_port.substr(0, colon);
  p.port = colon == std::string::npos ? "80" : host_port.substr(colon + 1);
  const std::size_t query = url.find('?', path);
  p.path = url.substr(path, query - path);
  p.query = query == std::string::npos ? "" : url.substr(query + 1);
  return p;
}

}  // namespace

std::string ShapeLink(const std::string& url, std::size_t shape) {
  const Parts p = Split(url);
  const std::string origin = "http://" + p.host + ":" + p.port;
  switch (shape % kLinkShapes) {
    case 0:
      return origin + "?" + p.query;
    case 1:
      return "http://" + p.host + ":80" + p.path + "?" + p.query;
    case 2:
      return "HTTP://LocalHost:" + p.port + p.path + "?" + p.query;
    case 3:
      return origin + "/a/./b/../.." + p.path + "?" + p.query;
    case 4:
      return origin + "/t\\..\\" + p.path.substr(1) + "?" + p.query;
    case 5:
      return origin + p.path + "?" + p.query + "&s=%3D%3Dab%2Fcd%25&q=%E4%B8%AD";
    case 6:
      return origin + p.path + "?" + p.query + "&q=two words";
    case 7:
      return origin + p.path + "?" + p.query + "&q=手机壳";
    case 8:
      return origin + p.path + "?" + p.query + "&x=a|b{c}^d";
    case 9:
      return "https://" + p.host + ":" + p.port + p.path + "?" + p.query +
             "&ref=" + std::string(120, 'r');
    default: {
      const std::size_t iid = p.query.find("iid=");
      const std::string id = p.query.substr(iid + 4, p.query.find('&', iid) - iid - 4);
      return "http://s.example/i" + id + "?nick=peldrun";
    }
  }
}

std::string ShapeClickUrls(const std::string& xml) {
  static constexpr std::string_view kOpen = "<click_url>", kClose = "</click_url>";
  std::string out;
  std::size_t pos = 0, shape = 0;
  while (true) {
    const std::size_t open = xml.find(kOpen, pos);
    const std::size_t close = open == std::string::npos ? open : xml.find(kClose, open);
    if (close == std::string::npos) break;
    const std::size_t text = open + kOpen.size();
    out.append(xml, pos, text - pos);
    AppendEscapedMarkup(
        out, ShapeLink(UnescapeText(std::string_view(xml).substr(text, close - text)), shape++));
    pos = close;
  }
  out.append(xml, pos, std::string::npos);
  return out;
}

}  // namespace orvalen::sandbox
