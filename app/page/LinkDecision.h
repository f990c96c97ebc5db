// LinkDecision: what a navigation of the results view means, whatever
// started it (a plain, middle or modifier click, a new-window request, a
// key, the window's own menu on a link). The window acts on the decision;
// nothing else decides.
//
//   LinkTable links = LinksOfPage(rows);      // what the page holds
//   ... links[i].Resolved(engine_href) ...    // as the engine resolved each
//   LinkDecision d = DecideLink(url, {&links});
//   switch (d.action) { case LinkAction::Seller: OpenSellerShop(d.target); ... }
//
// The engine reports a navigation with the address in its own canonical
// form, which nobody else reproduces exactly (default ports, dot segments,
// backslashes, escapes in the query). So a link is recognised by the form
// the engine itself gave that link on the page, not by re-deriving it; until
// the engine has said, the toolkit's canonical form of the written address
// stands in.
#pragma once

#include <QString>
#include <QUrl>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/page/core/Info.h"
#include "app/page/core/PageLinks.h"

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

  bool operator==(const LinkDecision&) const = default;
};

// One link of a results page.
class PageLink {
 public:
  PageLink(LinkDecision decision, std::string written);

  const LinkDecision& decision() const { return decision_; }
  // The address as the page's markup holds it (before escaping).
  const std::string& written() const { return written_; }
  // The engine's form of this link (an anchor's resolved href).
  void Resolved(const QString& href);
  // The form a reported navigation to this link is compared with.
  const QString& key() const { return key_; }

 private:
  LinkDecision decision_;
  std::string written_;
  QString key_;
};

using LinkTable = std::vector<PageLink>;

// The links of BuildResultsPage(rows), in the order a match is looked for:
// each shown item's click URL, the two paging links, then each seller's link.
// An address the page holds twice means the first of these it is.
LinkTable LinksOfPage(const PInfo& rows);

// The one decision. In order: about:blank loads in the view; an address
// that is a link of the first of `pages` holding it means what that link
// means (null tables are skipped); any other address is read on its own:
// the paging addresses page, a short address shaped like a seller's link is
// that seller, and everything else is dropped.
LinkDecision DecideLink(const QUrl& url, std::initializer_list<const LinkTable*> pages);

// The empty page a view or a new window starts on.
bool IsBlankPage(const QUrl& url);

}  // namespace orvalen
