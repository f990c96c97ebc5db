#include "app/page/core/ResultsPage.h"

#include "platform/MarkupEscape.h"
#include "platform/WebAddress.h"

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

constexpr std::string_view kNotDraggable = " draggable=\"false\"";

// Pictures come over the web only: a picture address of any other scheme
// (a local file, data) is left out and the picture's box stays empty.
std::string PictureSource(const std::string& url) {
  return IsWebAddress(url) ? " src=\"" + EscapeMarkup(url) + "\"" : std::string();
}

}  // namespace

std::string PageFooter() {
  return "<P style=\"clear: both\"></P><DIV align=\"center\" role=\"navigation\" "
         "aria-label=\"翻页\"><a href=\"" +
         std::string(kBackLink) + "\"" + std::string(kNotDraggable) +
         ">上一页</a>&nbsp;&nbsp;&nbsp;<a href=\"" + std::string(kNextLink) + "\"" +
         std::string(kNotDraggable) + ">下一页</a></DIV>";
}

// The card as it is drawn, with what assistive technology needs added in
// attributes only, so that the text a person selects and copies is the text
// on the screen: the picture link (the same address as the title) is left
// out of the reading and of the tab order, the title is the card's heading,
// the price is read as one phrase (its label), and the badge says the grade
// in words. Only an item's own links may be dragged out of the page (the
// picture drags as its link), and only when the click URL is a web address.
std::string BuildItemCard(const Info& r) {
  const std::string click = EscapeMarkup(r.click_url), title = EscapeMarkup(r.title);
  const std::string nick = EscapeMarkup(r.nick), price = EscapeMarkup(r.price);
  const std::string item_link = "<a href=\"" + click + "\" title=\"" + title +
                                "\" target=\"_blank\"" +
                                (IsWebAddress(r.click_url) ? "" : std::string(kNotDraggable));
  std::string card = "<div class=\"mydiv\" role=\"listitem\"> " + item_link +
                     " tabindex=\"-1\" aria-hidden=\"true\"><img" + PictureSource(r.pic_url) +
                     " alt=\"\"" + std::string(kNotDraggable) + "></a>";
  card += "<br><span role=\"heading\" aria-level=\"2\">" + item_link + ">" + title + "</a></span>";
  card += "<br><span role=\"img\" aria-label=\"价格 " + price +
          " 元\">价格：<span class=\"yuan\">" + price + "</span> 元</span>";
  card += "<br>卖家：<a href=\"" + SellerLink(nick) + "\"" + std::string(kNotDraggable) + ">" +
          nick + "</a>";
  card += "<br>所在地：" + EscapeMarkup(r.location);
  // A seller without a known credit level gets no badge rather than a broken image.
  const std::string badge = PictureSource(r.badge_url);
  const std::string grade = r.credit.empty() ? "" : "信用 " + EscapeMarkup(r.credit);
  card += badge.empty() ? "<br></div>"
                        : "<br><img" + badge + " alt=\"" + grade + "\"" +
                              std::string(kNotDraggable) + "></div>";
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
