#include "app/ResultsPage.h"

#include "app/WebAddress.h"
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

// Pictures come over the web only: a picture address of any other scheme
// (a local file, data) is left out and the picture's box stays empty.
std::string PictureSource(const std::string& url) {
  return IsWebAddress(url) ? " src=\"" + EscapeMarkup(url) + "\"" : std::string();
}

}  // namespace

std::string PageFooter() {
  return "<P style=\"clear: both\"></P><DIV align=\"center\"><a href=\"" + std::string(kBackLink) +
         "\">上一页</a>&nbsp;&nbsp;&nbsp;<a href=\"" + std::string(kNextLink) +
         "\">下一页</a></DIV>";
}

std::string BuildItemCard(const Info& r) {
  const std::string click = EscapeMarkup(r.click_url), title = EscapeMarkup(r.title);
  const std::string nick = EscapeMarkup(r.nick);
  std::string card = "<div class=\"mydiv\"> <a href=\"" + click + "\" title=\"" + title +
                     "\" target=\"_blank\"><img" + PictureSource(r.pic_url) + "></a>";
  card +=
      "<br><a href=\"" + click + "\" title=\"" + title + "\" target=\"_blank\">" + title + "</a>";
  card += "<br>价格：<span class=\"yuan\">" + EscapeMarkup(r.price) + "</span> 元";
  card += "<br>卖家：<a href=\"" + SellerLink(nick) + "\">" + nick + "</a>";
  card += "<br>所在地：" + EscapeMarkup(r.location);
  // A seller without a known credit level gets no badge rather than a broken image.
  const std::string badge = PictureSource(r.badge_url);
  card += badge.empty() ? "<br></div>" : "<br><img" + badge + "></div>";
  return card;
}

std::string BuildResultsPage(const PInfo& rows) {
  std::string page(kPageHead);
  for (std::size_t i = 0; i < rows.size() && i < kCardsPerPage && !rows[i].title.empty(); ++i) {
    page += BuildItemCard(rows[i]);
  }
  page += PageFooter();
  page += kPageTail;
  return page;
}

std::string EmptyPage() {
  return std::string(kPageHead) + std::string(kPageTail);
}

}  // namespace orvalen
