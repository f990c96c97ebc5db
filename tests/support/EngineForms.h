// Click URLs in the shapes a gateway may write them, each with the form the
// web engine gives it as a link of the page (an anchor's resolved href).
// The engine column was read from Qt WebEngine 6.4's Chromium;
// PageWriterTest checks it against the engine the tests run on, so that
// LinkDecisionTest, which has no engine, decides on the engine's real forms.
#pragma once

#include <QString>
#include <string>

namespace orvalen::test {

struct EngineForm {
  const char* name;
  std::string written;
  QString engine;
};

inline const EngineForm kEngineForms[] = {
    {"no path", "http://h.example?e=1&nick=peldrun", "http://h.example/?e=1&nick=peldrun"},
    {"default port", "http://h.example:80/click?e=2", "http://h.example/click?e=2"},
    {"https default port", "https://h.example:443/c?e=3", "https://h.example/c?e=3"},
    {"capitals", "HTTP://H.Example/Click?e=4", "http://h.example/Click?e=4"},
    {"dot segments", "http://h.example/a/./b/../../click?e=5", "http://h.example/click?e=5"},
    {"backslashes", "http://h.example/t\\..\\click?e=6", "http://h.example/click?e=6"},
    {"escapes", "http://h.example/c?e=%3D%3Dx%2F&q=%E4%B8%AD",
     "http://h.example/c?e=%3D%3Dx%2F&q=%E4%B8%AD"},
    {"blank", "http://h.example/c?q=two words", "http://h.example/c?q=two%20words"},
    {"non-ASCII", "http://h.example/c?q=手机壳",
     "http://h.example/c?q=%E6%89%8B%E6%9C%BA%E5%A3%B3"},
    {"raw |{}^", "http://h.example/c?x=a|b{c}^d", "http://h.example/c?x=a|b{c}^d"},
    {"short", "http://s.example/i7", "http://s.example/i7"},
    {"long", "https://h.example/click?ref=" + std::string(120, 'r'),
     "https://h.example/click?ref=" + QString(120, QLatin1Char('r'))},
};

// A seller's nick the engine rewrites as a host name (lower case, then
// punycode), and the engine's form of its link.
inline constexpr const char* kRewrittenNick = "Seller中";
inline const QString kRewrittenSellerLink = QStringLiteral("http://xn--seller-gw7i/");

}  // namespace orvalen::test
