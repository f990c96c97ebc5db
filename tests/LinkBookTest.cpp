// Which page decides a click: the one the engine last said it shows.
#include "app/page/LinkBook.h"

#include <gtest/gtest.h>

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

TEST(LinkBookTest, AClickIsDecidedAgainstThePageThatWasClicked) {
  LinkBook book;
  book.Written(1, LinksOfPage(Page("http://a.example:80/x?e=1", "old")));
  EXPECT_EQ(book.Addresses(1).first(), u"http://a.example:80/x?e=1"_s);
  book.Shown(1, {u"http://a.example/x?e=1"_s});
  EXPECT_EQ(book.Decide(kOld).target, "http://a.example:80/x?e=1");

  // Page 2 handed over, not yet shown: page 1 still decides, and an address
  // of page 2 only is tried there.
  book.Written(2, LinksOfPage(Page("http://b.example/y?e=2", "new")));
  EXPECT_EQ(book.Decide(kOld).target, "http://a.example:80/x?e=1");
  EXPECT_EQ(book.Decide(kNew).target, "http://b.example/y?e=2");
  EXPECT_EQ(book.Decide(QUrl(u"http://old/"_s)), (LinkDecision{LinkAction::Seller, "old"}));

  // Shown: page 1's links are gone.
  book.Shown(2, {u"http://b.example/y?e=2"_s});
  EXPECT_EQ(book.Decide(kOld).action, LinkAction::Drop);
  EXPECT_EQ(book.Decide(kNew).target, "http://b.example/y?e=2");
  EXPECT_TRUE(book.Addresses(1).isEmpty());
}

TEST(LinkBookTest, PagesReplacedUnseenAndLostDocumentsDecideNothing) {
  LinkBook book;
  book.Written(1, LinksOfPage(Page("http://a.example/x?e=1", "a")));
  book.Written(2, LinksOfPage(Page("http://b.example/y?e=2", "b")));
  book.Shown(2, {});
  book.Shown(1, {u"http://a.example/x?e=1"_s});  // too late: replaced
  EXPECT_EQ(book.Decide(kNew).action, LinkAction::OpenItem);
  EXPECT_EQ(book.Decide(kOld).action, LinkAction::Drop);
  book.Lost();
  EXPECT_EQ(book.Decide(kNew).action, LinkAction::Drop);
  EXPECT_EQ(book.Decide(QUrl(u"http://next/"_s)).action, LinkAction::Next);
}

}  // namespace
}  // namespace orvalen
