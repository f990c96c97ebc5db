// Which page decides a click: the one the engine last said it shows, then
// the newest handed over. Sellers' nicks the engine rewrites tell a page's
// own link from the reading of an address no page holds.
#include "app/page/LinkBook.h"

#include <gtest/gtest.h>

#include "support/EngineForms.h"

namespace orvalen {
namespace {

using namespace Qt::StringLiterals;

PInfo Page(const std::string& click, const std::string& nick) {
  Info row;
  row.title = "t";
  row.click_url = click;
  row.nick = nick;
  return {row};
}

const QUrl kOld("http://a.example/x?e=1");
const QUrl kNew("http://b.example/y?e=2");
// The engine's form of the seller link of test::kRewrittenNick; read as an
// address of no page it would be the seller "xn--seller-…".
const QUrl kSeller(test::kRewrittenSellerLink);

TEST(LinkBookTest, AClickIsDecidedAgainstThePageThatWasClicked) {
  LinkBook book;
  book.Written(1, LinksOfPage(Page("http://a.example:80/x?e=1", "old")));
  EXPECT_EQ(book.Addresses(1).first(), u"http://a.example:80/x?e=1"_s);
  book.Shown(1, {u"http://a.example/x?e=1"_s});
  EXPECT_EQ(book.Decide(kOld).target, "http://a.example:80/x?e=1");

  // Page 2 handed over, not yet shown: page 1 still decides, and an address
  // of page 2 only is found there, unresolved, in the toolkit's form.
  book.Written(2, LinksOfPage(Page("http://b.example/y?e=2", test::kRewrittenNick)));
  EXPECT_EQ(book.Decide(kOld).target, "http://a.example:80/x?e=1");
  EXPECT_EQ(book.Decide(kNew).target, "http://b.example/y?e=2");
  EXPECT_EQ(book.Decide(kSeller), (LinkDecision{LinkAction::Seller, test::kRewrittenNick}));

  // Shown: page 1's links are gone, page 2's decide in the engine's form.
  book.Shown(2, {u"http://b.example/y?e=2"_s, u"http://back/"_s, u"http://next/"_s,
                 test::kRewrittenSellerLink});
  EXPECT_EQ(book.Decide(kOld).action, LinkAction::Drop);
  EXPECT_EQ(book.Decide(kNew).target, "http://b.example/y?e=2");
  EXPECT_EQ(book.Decide(kSeller), (LinkDecision{LinkAction::Seller, test::kRewrittenNick}));
  EXPECT_TRUE(book.Addresses(1).isEmpty());
}

TEST(LinkBookTest, PagesReplacedUnseenAndLostDocumentsDecideNothing) {
  LinkBook book;
  book.Written(1, LinksOfPage(Page("http://a.example/x?e=1", "a")));
  book.Written(2, LinksOfPage(Page("http://b.example/y?e=2", test::kRewrittenNick)));
  book.Shown(2, {});
  book.Shown(1, {u"http://a.example/x?e=1"_s});  // too late: replaced
  EXPECT_EQ(book.Decide(kNew).action, LinkAction::OpenItem);
  EXPECT_EQ(book.Decide(kOld).action, LinkAction::Drop);
  book.Lost();
  EXPECT_EQ(book.Decide(kNew).action, LinkAction::Drop);
  EXPECT_EQ(book.Decide(kSeller).target, "xn--seller-gw7i");  // an address of no page
  EXPECT_EQ(book.Decide(QUrl(u"http://next/"_s)).action, LinkAction::Next);
}

}  // namespace
}  // namespace orvalen
