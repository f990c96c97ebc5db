// The results page: a style sheet, one card per item and a paging footer.
// The page links to the items' affiliate click URLs and to three fake
// addresses the window intercepts: "http://back/", "http://next/" and
// "http://" + seller nick + "/". Every value from the gateway is
// HTML-escaped, so no title or nick can add markup to the page.
#pragma once

#include <string>
#include <string_view>

#include "app/page/core/Info.h"
#include "app/page/core/PageLinks.h"

namespace orvalen {

extern const std::string_view kPageHead;
extern const std::string_view kPageTail;
// The paging links under the cards.
std::string PageFooter();

std::string BuildItemCard(const Info& row);
// Head, the cards of rows 0..39 up to the first row without a title, footer
// and tail.
std::string BuildResultsPage(const PInfo& rows);
// What the web view shows while a search runs.
std::string EmptyPage();

}  // namespace orvalen
