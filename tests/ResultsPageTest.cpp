#include "app/page/core/ResultsPage.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

Info Row(const std::string& title, const std::string& nick) {
  return {"http://img/1.gif",
          "12.50",
          title,
          "http://click/1",
          nick,
          "浙江杭州",
          "http://img/newrank/b_red_1.gif",
          "1心"};
}

TEST(ResultsPageTest, CardFollowsTheTemplatesInOrder) {
  EXPECT_EQ(BuildItemCard(Row("诺基亚 N97", "卖家A")),
            "<div class=\"mydiv\" role=\"listitem\"> <a href=\"http://click/1\" "
            "title=\"诺基亚 N97\" target=\"_blank\" tabindex=\"-1\" aria-hidden=\"true\">"
            "<img src=\"http://img/1.gif\" alt=\"\" draggable=\"false\"></a>"
            "<br><span role=\"heading\" aria-level=\"2\"><a href=\"http://click/1\" "
            "title=\"诺基亚 N97\" target=\"_blank\">诺基亚 N97</a></span>"
            "<br><span role=\"img\" aria-label=\"价格 12.50 元\">价格：<span class=\"yuan\">"
            "12.50</span> 元</span>"
            "<br>卖家：<a href=\"http://卖家A/\" draggable=\"false\">卖家A</a>"
            "<br>所在地：浙江杭州"
            "<br><img src=\"http://img/newrank/b_red_1.gif\" alt=\"信用 1心\" draggable=\"false\">"
            "</div>");
}

TEST(ResultsPageTest, ValuesAreEscapedSoTheyCannotAddMarkup) {
  Info r = Row("a \"quoted\" <b>title</b> & 'more'", "x\"><script>alert(1)</script>");
  r.click_url = "javascript:alert(1)\" onclick=\"x";
  const std::string card = BuildItemCard(r);
  EXPECT_EQ(card.find("<script>"), std::string::npos);
  EXPECT_EQ(card.find("<b>"), std::string::npos);
  EXPECT_EQ(card.find("\" onclick"), std::string::npos);
  EXPECT_NE(card.find("a &quot;quoted&quot; &lt;b&gt;title&lt;/b&gt; &amp; &#39;more&#39;"),
            std::string::npos);
  // An item link that is no web address cannot be dragged out of the page.
  EXPECT_NE(card.find("target=\"_blank\" draggable=\"false\">"), std::string::npos);
}

// A picture that is not fetched over the web shows nothing: its box stays;
// a badge so, or none, is no image at all.
TEST(ResultsPageTest, PicturesOfOtherSchemesAreLeftOut) {
  for (const char* address : {"file:///etc/passwd", "data:image/gif;base64,R0lGOD", "ftp://x/y",
                              " http://img/1.gif", "javascript:alert(1)", ""}) {
    Info row = Row("标题", "nick");
    row.pic_url = address;
    row.badge_url = address;
    const std::string card = BuildItemCard(row);
    EXPECT_NE(card.find("aria-hidden=\"true\"><img alt=\"\" draggable=\"false\"></a>"),
              std::string::npos)
        << address;
    EXPECT_EQ(card.find("src="), std::string::npos) << address;
    EXPECT_EQ(card.substr(card.size() - 10), "<br></div>") << address;
  }
}

TEST(ResultsPageTest, PageStopsAtTheFirstRowWithoutATitleAndAtForty) {
  PInfo rows(121);
  EXPECT_EQ(BuildResultsPage(rows), std::string(kPageHead) +
                                        "<div role=\"list\" aria-label=\"搜索结果\"></div>" +
                                        PageFooter() + std::string(kPageTail));
  rows[0] = Row("one", "a");
  rows[2] = Row("after the gap", "b");
  EXPECT_EQ(BuildResultsPage(rows).find("after the gap"), std::string::npos);
  for (int i = 0; i < 50; ++i) rows[i] = Row("item" + std::to_string(i) + "#", "s");
  const std::string page = BuildResultsPage(rows);
  EXPECT_NE(page.find("item39#"), std::string::npos);
  EXPECT_EQ(page.find("item40#"), std::string::npos);
  EXPECT_EQ(EmptyPage(), std::string(kPageHead) + std::string(kPageTail));
}

}  // namespace
}  // namespace orvalen
