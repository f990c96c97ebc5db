// LinkDecision: what a navigation of the results view means, whatever
// started it (a plain, middle or modifier click, a new-window request, a
// dropped link, a key). The window acts on the decision; nothing else
// decides.
//
//   LinkTable links = LinksOfPage(rows);      // what the page holds
//   ... links[i].Resolved(engine_href) ...    // as the engine resolved each
//   LinkDecision d = DecideLink(url, links);
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
#include <optional>
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

// The links of BuildResultsPage(rows): each shown item's click URL, each
// seller's link, then the two paging links.
LinkTable LinksOfPage(const PInfo& rows);

// What a navigation to `url` means on the page whose links are `links`.
LinkDecision DecideLink(const QUrl& url, const LinkTable& links);
// The two halves of DecideLink: the link of `links` that `url` is, if any;
// what an address that is no link of the page means.
std::optional<LinkDecision> MatchLink(const QUrl& url, const LinkTable& links);
LinkDecision DecideUnlisted(const QUrl& url);

}  // namespace orvalen
