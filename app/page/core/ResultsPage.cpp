#include "app/page/core/ResultsPage.h"

#include "app/page/core/WebAddress.h"
#include "platform/MarkupEscape.h"

namespace orvalen {

const std::string_view kPageHead =
    "<style>"
    ".mydiv {float: left;\theight: 280px;\ttext-align: center;\tmargin-left: 5px;\t"
    "margin-right: 5px;\tborder: 1px none #000033;\tfont-size: 12px;\twidth: 155px;}"
    "a {font-size: 12px;\tcolor: #0099FF;\ttext-decoration: none;\tline-height: 14px;}"
    "a:hover {color: #FC6103;\ttext-decoration: underline;}"
    "a img {height: 155px;\twidth: 155px;\tborder: 1px solid #CCCCCC;\tmargin-top: 5px;\t"
    "margin-bottom: 5px;}"
    ".yuan {font-size: 16px;\tfont-weight: bold;\tcolor: #FF3300;\t"
    "font-family: Arial, Helvetica, sans-serif;\tline-height: 20px;}"
    "</style> "
    "<body bgcolor=\"#FaFFF5\" leftMargin=0  topMargin=10 scroll=auto "
    "style=\"width:100%; border-width=0;\">"
    "<div align=\"center\">";

const std::string_view kPageTail = "</div></body>";

namespace {

// Out of the flow, clipped to nothing: read, not seen.
constexpr std::string_view kUnseen =
    "position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0); "
    "white-space: nowrap";

// Pictures come over the web only: a picture address of any other scheme
// (a local file, data) is left out and the picture's box stays empty.
std::string PictureSource(const std::string& url) {
  return IsWebAddress(url) ? " src=\"" + EscapeMarkup(url) + "\"" : std::string();
}

}  // namespace

std::string PageFooter() {
  return "<P style=\"clear: both\"></P><DIV align=\"center\" role=\"navigation\" "
         "aria-label=\"翻页\"><a href=\"" +
         std::string(kBackLink) + "\">上一页</a>&nbsp;&nbsp;&nbsp;<a href=\"" +
         std::string(kNextLink) + "\">下一页</a></DIV>";
}

// The card as it is drawn, with what assistive technology needs added in
// attributes and out-of-flow text that change nothing on screen: the picture
// link (the same address as the title) is left out of the reading and of
// the tab order, the title is the card's heading, the price is read as one
// phrase, and the badge says the grade in words.
std::string BuildItemCard(const Info& r) {
  const std::string click = EscapeMarkup(r.click_url), title = EscapeMarkup(r.title);
  const std::string nick = EscapeMarkup(r.nick), price = EscapeMarkup(r.price);
  std::string card = "<div class=\"mydiv\" role=\"listitem\"> <a href=\"" + click + "\" title=\"" +
                     title + "\" target=\"_blank\" tabindex=\"-1\" aria-hidden=\"true\"><img" +
                     PictureSource(r.pic_url) + " alt=\"\"></a>";
  card += "<br><span role=\"heading\" aria-level=\"2\"><a href=\"" + click + "\" title=\"" + title +
          "\" target=\"_blank\">" + title + "</a></span>";
  card += "<br><span aria-hidden=\"true\">价格：<span class=\"yuan\">" + price +
          "</span> 元</span><span style=\"" + std::string(kUnseen) + "\">价格 " + price +
          " 元</span>";
  card += "<br>卖家：<a href=\"" + SellerLink(nick) + "\">" + nick + "</a>";
  card += "<br>所在地：" + EscapeMarkup(r.location);
  // A seller without a known credit level gets no badge rather than a broken image.
  const std::string badge = PictureSource(r.badge_url);
  const std::string grade = r.credit.empty() ? "" : "信用 " + EscapeMarkup(r.credit);
  card += badge.empty() ? "<br></div>" : "<br><img" + badge + " alt=\"" + grade + "\"></div>";
  return card;
}

std::string BuildResultsPage(const PInfo& rows) {
  std::string page(kPageHead);
  page += "<div role=\"list\" aria-label=\"搜索结果\">";
  for (std::size_t i = 0; i < rows.size() && i < kCardsPerPage && !rows[i].title.empty(); ++i) {
    page += BuildItemCard(rows[i]);
  }
  page += "</div>";
  page += PageFooter();
  page += kPageTail;
  return page;
}

std::string EmptyPage() {
  return std::string(kPageHead) + std::string(kPageTail);
}

}  // namespace orvalen
