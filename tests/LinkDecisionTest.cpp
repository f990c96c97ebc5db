// The link decision as a pure function: the page's links, the engine's form
// of each (support/EngineForms.h, checked against the engine by
// PageWriterTest), and what the engine reports.
#include "app/page/LinkDecision.h"

#include <gtest/gtest.h>

#include "support/EngineForms.h"

namespace orvalen {
namespace {

using namespace Qt::StringLiterals;
using test::kEngineForms;

PInfo Rows() {
  PInfo rows;
  for (const test::EngineForm& s : kEngineForms) {
    Info row;
    row.title = s.name;
    row.click_url = s.written;
    row.nick = test::kRewrittenNick;
    rows.push_back(row);
  }
  return rows;
}

// The table as the engine resolved it: items in order, the paging links,
// then the sellers.
LinkTable Resolved(const PInfo& rows) {
  LinkTable links = LinksOfPage(rows);
  for (std::size_t i = 0; i < std::size(kEngineForms); ++i)
    links[i].Resolved(kEngineForms[i].engine);
  for (std::size_t i = std::size(kEngineForms) + 2; i < links.size(); ++i)
    links[i].Resolved(test::kRewrittenSellerLink);
  return links;
}

TEST(LinkDecisionTest, AnItemOfAnyShapeOpensItsClickUrlAsWritten) {
  const LinkTable links = Resolved(Rows());
  for (const test::EngineForm& s : kEngineForms) {
    EXPECT_EQ(DecideLink(QUrl(s.engine), {&links}), (LinkDecision{LinkAction::OpenItem, s.written}))
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
      {test::kRewrittenSellerLink, {LinkAction::Seller, test::kRewrittenNick}},
      {"http://other-seller/", {LinkAction::Seller, "other-seller"}},
      {"http://h.example/click?e=99", {LinkAction::Drop, {}}},
      {"http://h.example/?e=1", {LinkAction::Drop, {}}},
      {"https://h.example/click?ref=" + QString(120, QLatin1Char('x')), {LinkAction::Drop, {}}},
      {"data:text/html,x", {LinkAction::Drop, {}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideLink(QUrl(c.reported), {&links}), c.decision) << c.reported.toStdString();
  }
}

// Before the engine has given its forms, the toolkit's canonical form of the
// written address stands in: exact for the plain shapes. Tables are asked
// in order, and a missing one is passed over.
TEST(LinkDecisionTest, UnresolvedLinksMatchTheirWrittenFormInTheFirstTableHoldingThem) {
  const LinkTable links = LinksOfPage(Rows());
  EXPECT_EQ(DecideLink(QUrl(u"http://s.example/i7"_s), {nullptr, &links}),
            (LinkDecision{LinkAction::OpenItem, "http://s.example/i7"}));
  EXPECT_EQ(DecideLink(QUrl(u"http://h.example/c?q=two%20words"_s), {&links}),
            (LinkDecision{LinkAction::OpenItem, "http://h.example/c?q=two words"}));
  PInfo other = Rows();
  other[10].click_url = "http://s.example/i7?second";
  const LinkTable later = LinksOfPage(other);
  EXPECT_EQ(DecideLink(QUrl(u"http://s.example/i7"_s), {&later, &links}).target,
            "http://s.example/i7");
  EXPECT_EQ(DecideLink(QUrl(u"http://s.example/i7?second"_s), {&links, &later}).target,
            "http://s.example/i7?second");
}

}  // namespace
}  // namespace orvalen
