// LinkDecision: what a navigation of the results view means, whatever
// started it (a plain, middle or modifier click, a new-window request, a
// dropped link). The window acts on the decision; nothing else decides.
//
//   LinkDecision d = DecideLink(url, rows);
//   switch (d.action) { case LinkAction::Seller: OpenSellerShop(d.target); ... }
//
// The page writes "http://back/", "http://next/" and "http://" + nick + "/"
// for its own controls; item links are the rows' affiliate click URLs.
#pragma once

#include <QUrl>
#include <string>

#include "app/Info.h"
#include "app/ResultsPage.h"

namespace orvalen {

enum class LinkAction {
  LoadInView,  // about:blank: the view may load it
  Back,        // the previous page of results
  Next,        // the next page of results
  Seller,      // target: the seller's nick as the page wrote it
  OpenItem,    // target: the item's affiliate click URL as the gateway gave it
  Drop,        // anything else: nothing happens
};

struct LinkDecision {
  LinkAction action = LinkAction::Drop;
  std::string target;
};

LinkDecision DecideLink(const QUrl& url, const PInfo& rows);

}  // namespace orvalen
