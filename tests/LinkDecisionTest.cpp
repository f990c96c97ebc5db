// The link decision as a pure function: the page's links, the engine's form
// of each, and what the engine reports.
#include "app/page/LinkDecision.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

using namespace Qt::StringLiterals;

// Click URLs as a gateway may write them, and the form Chromium gives each
// as a link of the page (read from the engine's anchors).
struct Shape {
  const char* name;
  std::string written;
  QString engine;
};

const Shape kShapes[] = {
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

PInfo Rows() {
  PInfo rows;
  for (const Shape& s : kShapes) {
    Info row;
    row.title = s.name;
    row.click_url = s.written;
    row.nick = "Seller中";
    rows.push_back(row);
  }
  return rows;
}

// The table as the engine resolved it: items in order, then the paging
// links, then the sellers.
LinkTable Resolved(const PInfo& rows) {
  LinkTable links = LinksOfPage(rows);
  for (std::size_t i = 0; i < std::size(kShapes); ++i) links[i].Resolved(kShapes[i].engine);
  return links;
}

TEST(LinkDecisionTest, AnItemOfAnyShapeOpensItsClickUrlAsWritten) {
  const LinkTable links = Resolved(Rows());
  for (const Shape& s : kShapes) {
    EXPECT_EQ(DecideLink(QUrl(s.engine), links), (LinkDecision{LinkAction::OpenItem, s.written}))
        << s.name;
  }
}

// The page's own links keep their meaning, and addresses that are no link
// of the page are read as before: paging and seller shapes, the rest dropped.
TEST(LinkDecisionTest, PagingSellersAndForeignAddresses) {
  const LinkTable links = Resolved(Rows());
  const struct {
    QString reported;
    LinkDecision decision;
  } cases[] = {
      {"about:blank", {LinkAction::LoadInView, {}}},
      {"http://back/", {LinkAction::Back, {}}},
      {"http://next/", {LinkAction::Next, {}}},
      // The engine lower-cases and punycodes the nick; the page's nick counts.
      {QUrl(u"http://Seller中/"_s).toString(QUrl::FullyEncoded), {LinkAction::Seller, "Seller中"}},
      {"http://other-seller/", {LinkAction::Seller, "other-seller"}},
      {"http://h.example/click?e=99", {LinkAction::Drop, {}}},
      {"http://h.example/?e=1", {LinkAction::Drop, {}}},
      {"https://h.example/click?ref=" + QString(120, QLatin1Char('x')), {LinkAction::Drop, {}}},
      {"data:text/html,x", {LinkAction::Drop, {}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideLink(QUrl(c.reported), links), c.decision) << c.reported.toStdString();
  }
}

// Before the engine has given its forms, the toolkit's canonical form of the
// written address stands in: exact for the plain shapes.
TEST(LinkDecisionTest, UnresolvedLinksMatchTheirWrittenForm) {
  const LinkTable links = LinksOfPage(Rows());
  EXPECT_EQ(DecideLink(QUrl(u"http://s.example/i7"_s), links),
            (LinkDecision{LinkAction::OpenItem, "http://s.example/i7"}));
  EXPECT_EQ(DecideLink(QUrl(u"http://h.example/c?q=two%20words"_s), links),
            (LinkDecision{LinkAction::OpenItem, "http://h.example/c?q=two words"}));
}

}  // namespace
}  // namespace orvalen
